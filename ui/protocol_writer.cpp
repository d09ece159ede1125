#include "protocol_writer.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextEdit>

QColor color_from_value(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

protocol_writer::protocol_writer(QTextEdit& box)
    : cursor_(box.document()), box_empty_(box.document()->isEmpty())
{
    cursor_.movePosition(QTextCursor::End);
    // One edit block: the box lays the text out once, when the writer is done.
    cursor_.beginEditBlock();
}

protocol_writer::~protocol_writer()
{
    cursor_.endEditBlock();
}

void protocol_writer::show_report(report_information_interface& protocol)
{
    const auto& lines = protocol.get_lines();
    for (std::size_t k = 0; k < lines.size(); ++k) {
        // The background alone; the line takes the box's font.
        QTextCharFormat format;
        format.setBackground(color_from_value(protocol.get_line_color(static_cast<std::int32_t>(k))));
        if (box_empty_) {
            cursor_.setBlockCharFormat(format);
            box_empty_ = false;
        } else {
            cursor_.insertBlock(QTextBlockFormat(), format);
        }
        const std::string& line = lines[k];
        cursor_.insertText(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())), format);
    }
}
