// What the window needs to know about the machine it runs on. Read once at
// start-up and handed down, so that tests can fix every value.
#pragma once

#include <QLocale>
#include <QString>

struct system_facts {
    // Regional settings: the decimal separator of every number the user sees
    // or types, and the digit grouping of the table totals.
    QLocale locale;
    // The calendar year of today's date, for the limitation check.
    int current_year = 0;
    // The user's documents folder; empty when there is none.
    QString documents_folder;

    QString decimal_separator() const { return locale.decimalPoint(); }

    static system_facts from_system();
};
