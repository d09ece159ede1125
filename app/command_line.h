// velmaris-cli: the window's analysis over .kvl files, without a display.
#pragma once

#include "tax_rates_impl.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <memory>

struct command_line_environment {
    // The stored limitation periods; may throw when the store is unreadable.
    std::function<std::shared_ptr<limitation_faces_interface>()> stored_limitations;
    assessment_environment assessment; // regional decimal separator, today's year
    QLocale locale;                    // digit grouping of the report's totals
    QDateTime now;                     // the time of the assessment, for the report
};

// Exit statuses; with several files the worst one wins, in this order.
enum command_line_status {
    status_ok = 0,
    status_refused = 3,     // the analysis refused to run
    status_unreadable = 2,  // a file could not be read, or the report not written
    status_usage = 64,
};

QString command_line_usage();

// `arguments` without the program name. Protocol lines go to `out`,
// refusals and errors to `err`.
int run_command_line(const QStringList& arguments, QTextStream& out, QTextStream& err,
                     const command_line_environment& environment);
