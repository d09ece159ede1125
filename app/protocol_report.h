// The protocol of an analysis as a self-contained HTML page, for saving,
// printing and the command line.
#pragma once

#include "tax_rates_ntrf.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <memory>
#include <vector>

struct protocol_report {
    QString source; // the document's file, shown when not empty
    QDateTime assessed_at;
    int category = -1; // the category selector's item index
    QString name;
    TItemsYear liabilities; // the taxes that had to be paid
    TItemsYear debts;       // "Неуплаченные налоги"
    std::shared_ptr<limitation_defenition_interface> periods; // of the category; may be null
    std::vector<std::shared_ptr<report_information_interface>> protocols;
    QString refusal; // why the analysis did not run, shown instead of protocols
};

// "#rrggbb" of a colour value laid out as red in the low byte.
QString html_color(std::int32_t color_value);

// One page with a section per report.
QString protocol_report_html(const std::vector<protocol_report>& reports, const QLocale& locale);

// Writes the page atomically; throws std::runtime_error naming the file.
void write_protocol_report(const QString& path, const std::vector<protocol_report>& reports,
                           const QLocale& locale);
