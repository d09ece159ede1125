// Sums of money as the tables show them, with the locale's digit grouping.
#pragma once

#include <QLocale>
#include <QString>

// Grouped, two decimals, no currency sign: "1 234 567,89"; "-5,00".
QString grouped_fixed2(double value, const QLocale& locale);

// The footer of a sum column: "Общая сумма: 1 234 567,89р.", a leading minus
// for a negative total.
QString footer_total_text(double total, const QLocale& locale);
