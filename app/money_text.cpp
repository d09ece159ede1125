#include "money_text.h"

#include "number_format.h"

#include <cmath>

QString grouped_fixed2(double value, const QLocale& locale)
{
    // Rounded to cents first, so that a total of -0.001 shows no minus.
    double cents = std::round(value * 100) / 100;
    if (cents == 0)
        cents = 0;
    const QString separator = locale.decimalPoint();
    const QString plain = QString::fromStdString(format_fixed2(std::fabs(cents), separator.toStdString()));
    qsizetype integer_digits = plain.indexOf(separator);
    if (integer_digits < 0)
        integer_digits = plain.size();
    QString grouped;
    grouped.reserve(plain.size() + integer_digits / 3 + 1);
    if (cents < 0)
        grouped += QLatin1Char('-');
    const QString group = locale.groupSeparator();
    for (qsizetype i = 0; i < integer_digits; ++i) {
        if (i > 0 && (integer_digits - i) % 3 == 0)
            grouped += group;
        grouped += plain[i];
    }
    grouped += QStringView(plain).mid(integer_digits);
    return grouped;
}

QString footer_total_text(double total, const QLocale& locale)
{
    return QStringLiteral("Общая сумма: ") + grouped_fixed2(total, locale) + QStringLiteral("р.");
}
