#include "protocol_report.h"

#include "money_text.h"
#include "number_format.h"
#include "program_title.h"
#include "tax_rates_impl.h"

#include <QDir>
#include <QSaveFile>

#include <stdexcept>

namespace {

QString category_text(int category)
{
    switch (category) {
    case 0:
        return QStringLiteral("Физическое лицо");
    case 1:
        return QStringLiteral("Юридическое лицо");
    default:
        return QStringLiteral("не выбрана");
    }
}

QString period_text(const std::shared_ptr<limitation_defenition_interface>& periods, size_category category)
{
    if (!periods)
        return QStringLiteral("не задан");
    return QString::fromStdString(format_int(periods->get_limitation_period(category))) + QStringLiteral(" (лет)");
}

QString year_table(const QString& caption, const TItemsYear& items, const QLocale& locale)
{
    QString html = QStringLiteral("<h2>%1</h2>\n<table class=\"years\">\n"
                                  "<tr><th>Финансовый год</th><th>Сумма налогов (сборов)</th></tr>\n")
                       .arg(caption.toHtmlEscaped());
    double total = 0;
    for (const auto& item : items) {
        if (!item)
            continue;
        total += item->get_sum();
        html += QStringLiteral("<tr><td>%1</td><td class=\"sum\">%2</td></tr>\n")
                    .arg(item->get_year())
                    .arg(grouped_fixed2(item->get_sum(), locale).toHtmlEscaped());
    }
    html += QStringLiteral("<tr><td colspan=\"2\" class=\"total\">%1</td></tr>\n</table>\n")
                .arg(footer_total_text(total, locale).toHtmlEscaped());
    return html;
}

} // namespace

QString html_color(std::int32_t color_value)
{
    const auto value = static_cast<std::uint32_t>(color_value);
    const int red = static_cast<int>(value & 0xFF);
    const int green = static_cast<int>((value >> 8) & 0xFF);
    const int blue = static_cast<int>((value >> 16) & 0xFF);
    return QStringLiteral("#%1%2%3")
        .arg(red, 2, 16, QLatin1Char('0'))
        .arg(green, 2, 16, QLatin1Char('0'))
        .arg(blue, 2, 16, QLatin1Char('0'));
}

namespace {

QString report_section(const protocol_report& report, const QLocale& locale)
{
    QString html;
    if (!report.source.isEmpty())
        html += QStringLiteral("<h2>%1</h2>\n").arg(report.source.toHtmlEscaped());
    html += QStringLiteral("<table class=\"facts\">\n");
    const auto fact = [&html](const QString& label, const QString& value) {
        html += QStringLiteral("<tr><th>%1</th><td>%2</td></tr>\n").arg(label.toHtmlEscaped(), value.toHtmlEscaped());
    };
    fact(QStringLiteral("Дата и время расчета"), report.assessed_at.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    fact(QStringLiteral("Категория"), category_text(report.category));
    fact(QStringLiteral("Наименование"), report.name);
    fact(QStringLiteral("Срок давности, крупный размер"), period_text(report.periods, size_large));
    fact(QStringLiteral("Срок давности, особо крупный размер"), period_text(report.periods, size_very_large));
    html += QStringLiteral("</table>\n");

    html += year_table(QStringLiteral("Налоги, которые должны были быть уплачены"), report.liabilities, locale);
    html += year_table(QStringLiteral("Неуплаченные налоги"), report.debts, locale);

    html += QStringLiteral("<h3>Результаты проверки соответствия сумм налогов (сборов)</h3>\n");
    if (!report.refusal.isEmpty()) {
        html += QStringLiteral("<p class=\"refusal\">%1</p>\n").arg(report.refusal.toHtmlEscaped());
        return html;
    }
    const QString cream = html_color(color_undetermined);
    html += QStringLiteral("<table class=\"protocol\" width=\"100%\" bgcolor=\"%1\" style=\"background-color: %1\">\n")
                .arg(cream);
    for (const auto& protocol : report.protocols) {
        const auto& lines = protocol->get_lines();
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const QString color = html_color(protocol->get_line_color(static_cast<std::int32_t>(k)));
            const QString text = QString::fromStdString(lines[k]).toHtmlEscaped();
            html += QStringLiteral("<tr><td bgcolor=\"%1\" style=\"background-color: %1\">%2</td></tr>\n")
                        .arg(color, text.isEmpty() ? QStringLiteral("&#160;") : text);
        }
    }
    html += QStringLiteral("</table>\n");
    return html;
}

} // namespace

QString protocol_report_html(const std::vector<protocol_report>& reports, const QLocale& locale)
{
    QString html = QStringLiteral(
        "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>%1</title>\n"
        "<style>\n"
        "body { font-family: Tahoma, 'DejaVu Sans', sans-serif; font-size: 10pt; }\n"
        "table { border-collapse: collapse; margin-bottom: 1em; }\n"
        "th, td { border: 1px solid #999999; padding: 2px 8px; text-align: left; }\n"
        "td.sum, td.total { text-align: right; }\n"
        "table.protocol td { border: none; padding: 1px 6px; white-space: pre-wrap; }\n"
        "</style>\n</head>\n<body>\n<h1>%1</h1>\n")
                       .arg(QString::fromUtf8(program_title).toHtmlEscaped());
    for (const auto& report : reports)
        html += report_section(report, locale);
    html += QStringLiteral("</body>\n</html>\n");
    return html;
}

void write_protocol_report(const QString& path, const std::vector<protocol_report>& reports,
                           const QLocale& locale)
{
    QSaveFile file(path);
    const QByteArray bytes = protocol_report_html(reports, locale).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(QStringLiteral("Не удалось записать протокол в файл %1: %2")
                                     .arg(QDir::toNativeSeparators(path), file.errorString())
                                     .toStdString());
}
