#include "analysis_run.h"
#include "protocol_report.h"
#include "year_data.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {

protocol_report example_report()
{
    auto limitations = std::make_shared<limitation_faces_class>();
    limitations->add_definition(std::make_shared<limitation_defenition_class>(0, 2, 5));
    const auto debts = list_of({{2007, 100000}, {2008, 100000}, {2009, 100000}});
    const auto liabilities = list_of({{2007, 1000000}, {2008, 1000000}, {2009, 1000000}});
    const auto outcome = run_analysis(limitations, 0, debts, liabilities, {",", 2026});

    protocol_report report;
    report.assessed_at = QDateTime(QDate(2026, 12, 11), QTime(10, 30, 5));
    report.category = 0;
    report.name = QStringLiteral("ООО <Ромашка> & сыновья");
    report.liabilities = liabilities->get_items();
    report.debts = debts->get_items();
    report.periods = limitations->find_definition(0);
    report.protocols = outcome.protocols;
    return report;
}

// The text of every protocol row with the background it was given.
std::vector<std::pair<QString, QString>> protocol_rows(const QString& html)
{
    std::vector<std::pair<QString, QString>> rows;
    QXmlStreamReader xml(html);
    bool in_protocol = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("table"))
            in_protocol = xml.attributes().value(QLatin1String("class")) == QLatin1String("protocol");
        if (in_protocol && xml.isStartElement() && xml.name() == QLatin1String("td")) {
            const QString color = xml.attributes().value(QLatin1String("bgcolor")).toString();
            rows.emplace_back(xml.readElementText(), color);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line " << xml.lineNumber();
    return rows;
}

} // namespace

TEST(ProtocolReport, IsWellFormedWithColouredVerdictsAndEscapedName)
{
    const QString html = protocol_report_html({example_report()}, QLocale(QLocale::Russian, QLocale::Russia));
    const auto rows = protocol_rows(html);
    ASSERT_EQ(rows.size(), 16u); // two windows of eight lines
    for (const auto& [text, color] : rows) {
        const bool verdict = text.startsWith(QStringLiteral("Сумма признается как:"));
        EXPECT_EQ(color, verdict ? QStringLiteral("#ff00ff") : QStringLiteral("#fffbf0"))
            << text.toStdString();
    }
    EXPECT_EQ(rows[0].first, QStringLiteral("Расчет финансовых лет: 2007,2008,2009"));
    EXPECT_TRUE(html.contains(QStringLiteral("ООО &lt;Ромашка&gt; &amp; сыновья")));
    EXPECT_FALSE(html.contains(QStringLiteral("<Ромашка>")));
    EXPECT_TRUE(html.contains(QStringLiteral("11.12.2026 10:30:05")));
    EXPECT_TRUE(html.contains(QStringLiteral("Физическое лицо")));
    EXPECT_TRUE(html.contains(QStringLiteral("Общая сумма: 3") + QChar(0xA0) + QStringLiteral("000") +
                              QChar(0xA0) + QStringLiteral("000,00р.")));
}

TEST(ProtocolReport, ColourValuesAreRedInTheLowByte)
{
    EXPECT_EQ(html_color(255), QStringLiteral("#ff0000"));
    EXPECT_EQ(html_color(16711935), QStringLiteral("#ff00ff"));
    EXPECT_EQ(html_color(12639424), QStringLiteral("#c0dcc0"));
    EXPECT_EQ(html_color(15793151), QStringLiteral("#fffbf0"));
}

TEST(ProtocolReport, WritesAtomicallyAndReportsFailure)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("протокол.html"));
    write_protocol_report(path, {example_report()}, QLocale::c());
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("<!DOCTYPE html>"));

    const QString blocked = folder.filePath(QStringLiteral("протокол.html/inside.html"));
    try {
        write_protocol_report(blocked, {example_report()}, QLocale::c());
        FAIL() << "writing below a file must fail";
    } catch (const std::runtime_error& error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).contains(QStringLiteral("inside.html")));
    }
}
