// Appends protocols to the protocol box, each line on the background of
// its colour value. One writer keeps its cursor at the end of the box, so a
// run of many protocols costs time in proportion to what it appends.
#pragma once

#include "tax_rates_ntrf.h"

#include <QColor>
#include <QTextCursor>

#include <cstdint>

class QTextEdit;

// A colour value in the Windows layout (red in the low byte, blue in the third).
QColor color_from_value(std::int32_t value);

class protocol_writer {
public:
    explicit protocol_writer(QTextEdit& box);
    ~protocol_writer();
    protocol_writer(const protocol_writer&) = delete;
    protocol_writer& operator=(const protocol_writer&) = delete;

    void show_report(report_information_interface& protocol);

private:
    QTextCursor cursor_;
    // True while the box holds nothing: the first line goes into its empty
    // first line instead of below it.
    bool box_empty_;
};
