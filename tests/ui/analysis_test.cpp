// "Проанализировать": the refusals, the windows and the coloured protocol.
#include "tax_rates.h"

#include "protocol_writer.h"
#include "register_ctrlr.h"
#include "subject_datasource.h"
#include "tax_rates_impl.h"
#include "window_test_support.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QPushButton>
#include <QTableView>
#include <QTextBlock>
#include <QTextEdit>

#include <map>

namespace {

struct protocol_line {
    QString text;
    QColor background;
};

class Analysis : public ui_test {
protected:
    std::unique_ptr<Tfrm_tax_rates> window;
    subject_datasource_class* debts = nullptr;
    subject_datasource_class* liabilities = nullptr;
    QTextEdit* box = nullptr;

    // The limitation periods are read when the window is made.
    void open_window(std::int32_t member_large = 3, std::int32_t member_very_large = 6,
                     std::int32_t company_large = 4, std::int32_t company_very_large = 10)
    {
        register_controller().save_member_limitation(member_large, member_very_large);
        register_controller().save_company_limitation(company_large, company_very_large);
        window = std::make_unique<Tfrm_tax_rates>(facts());
        debts = qobject_cast<subject_datasource_class*>(child<QTableView>(*window, "cxtvDebts").model());
        liabilities = qobject_cast<subject_datasource_class*>(child<QTableView>(*window, "cxtvLiabilities").model());
        box = &child<QTextEdit>(*window, "rProtocol");
    }

    void TearDown() override
    {
        window.reset();
        ui_test::TearDown();
    }

    static void fill(subject_datasource_class& source, const std::vector<std::pair<int, double>>& entries)
    {
        source.clear_items();
        for (auto [year, sum] : entries)
            source.append_item(std::make_shared<year_item_class>(static_cast<std::uint16_t>(year), sum));
        source.notify_data_changed();
    }

    void analyse() { child<QPushButton>(*window, "bAnalysis").click(); }

    std::vector<protocol_line> protocol() const
    {
        std::vector<protocol_line> lines;
        for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
            const QTextCharFormat format =
                block.begin().atEnd() ? block.charFormat() : block.begin().fragment().charFormat();
            lines.push_back({block.text(), format.background().color()});
        }
        return lines;
    }

    QStringList years_lines() const
    {
        QStringList found;
        for (const auto& line : protocol())
            if (line.text.startsWith("Расчет финансовых лет: "))
                found << line.text.mid(23);
        return found;
    }
};

} // namespace

TEST_F(Analysis, ProtocolBoxLooksAsItShould)
{
    open_window();
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(255, 251, 240));
    // Tahoma where it is installed; any other family otherwise.
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        EXPECT_EQ(box->font().families().value(0), "Tahoma");
    }
    EXPECT_EQ(box->font().pointSize(), 8);
    EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(box->isReadOnly());
    EXPECT_EQ(color_from_value(255), QColor(255, 0, 0));
    EXPECT_EQ(color_from_value(16711935), QColor(255, 0, 255));
}

TEST_F(Analysis, OneProtocolPerWindowOfUpToThreeNeighbours)
{
    open_window();
    const struct {
        std::vector<std::pair<int, double>> entries;
        QStringList windows;
    } cases[] = {
        {{{2001, 0}}, {"2001"}},
        {{{2001, 0}, {2002, 0}}, {"2001,2002"}},
        {{{2001, 0}, {2002, 0}, {2003, 0}}, {"2001,2002,2003", "2002,2003"}},
        {{{2001, 0}, {2002, 0}, {2003, 0}, {2004, 0}}, {"2001,2002,2003", "2002,2003,2004", "2003,2004"}},
        {{{2001, 0}, {2002, 0}, {2003, 0}, {2004, 0}, {2005, 0}},
         {"2001,2002,2003", "2002,2003,2004", "2003,2004,2005", "2004,2005"}},
        {{{2008, 0}, {2005, 0}, {2007, 0}}, {"2005,2007,2008", "2007,2008"}}, // a gap does not split a window
    };
    for (const auto& c : cases) {
        fill(*debts, c.entries);
        analyse();
        EXPECT_EQ(years_lines(), c.windows);
        // Each protocol ends with an empty line.
        const auto lines = protocol();
        int empty = 0;
        for (const auto& line : lines)
            empty += line.text.isEmpty() ? 1 : 0;
        EXPECT_EQ(empty, c.windows.size());
        EXPECT_TRUE(lines.back().text.isEmpty());
    }
    EXPECT_TRUE(prompts_->shown.empty());
}

TEST_F(Analysis, OnlyVerdictLinesAreColoured)
{
    open_window();
    fill(*liabilities, {{2001, 10000000}, {2004, 1000000}, {2005, 700000}});
    fill(*debts, {{2001, 0}, {2002, 0}, {2003, 0}, {2004, 950000}, {2005, 0}});
    analyse();

    const std::map<QString, QColor> verdicts = {
        {"Сумма признается как: Допустимая", QColor(192, 220, 192)},
        {"Сумма признается как: Крупный размер", QColor(255, 0, 255)},
        {"Сумма признается как: Особо крупный размер", QColor(255, 0, 0)},
    };
    const QColor cream(255, 251, 240);
    QStringList verdict_lines;
    for (const auto& line : protocol()) {
        const auto verdict = verdicts.find(line.text);
        if (verdict != verdicts.end())
            verdict_lines << line.text.mid(22);
        EXPECT_EQ(line.background, verdict != verdicts.end() ? verdict->second : cream) << line.text.toStdString();
    }
    EXPECT_EQ(verdict_lines,
              QStringList({"Особо крупный размер", "Допустимая", "Крупный размер", "Крупный размер"}));

    // A second run replaces the first.
    const QString first = box->toPlainText();
    analyse();
    EXPECT_EQ(box->toPlainText(), first);
}

TEST_F(Analysis, RefusesWithAMessageAndLeavesTheProtocol)
{
    open_window(0, 6, 4, 10);
    auto& selector = child<QComboBox>(*window, "cbxTypeSelect");
    fill(*debts, {{2005, 10}});
    box->setPlainText("предыдущий протокол");

    const struct {
        int category;
        bool with_debts;
        QString message;
    } cases[] = {
        {-1, true, "Не выбран объект из списка"},
        {0, true, "Не задан срок давности"}, // the individual's large period is 0
        {1, false, "Таблица \"Неуплаченные налоги\" не заполнена"},
    };
    for (const auto& c : cases) {
        selector.setCurrentIndex(c.category);
        fill(*debts, c.with_debts ? std::vector<std::pair<int, double>>{{2005, 10}} : std::vector<std::pair<int, double>>{});
        analyse();
        const auto shown = prompts_->take_shown();
        ASSERT_EQ(shown.size(), 1u) << c.message.toStdString();
        EXPECT_EQ(shown[0].kind, "notice");
        EXPECT_EQ(shown[0].caption, "Внимание");
        EXPECT_EQ(shown[0].text, c.message);
        EXPECT_EQ(box->toPlainText(), "предыдущий протокол");
    }

    // The organisation's periods are set: its run goes ahead.
    fill(*debts, {{2005, 10}});
    analyse();
    EXPECT_TRUE(prompts_->shown.empty());
    EXPECT_EQ(years_lines(), QStringList({"2005"}));
}

TEST_F(Analysis, RefusesWithoutStoredPeriods)
{
    window = std::make_unique<Tfrm_tax_rates>(facts()); // fresh settings: every period 0
    auto* source = qobject_cast<subject_datasource_class*>(child<QTableView>(*window, "cxtvDebts").model());
    fill(*source, {{2005, 10}});
    child<QPushButton>(*window, "bAnalysis").click();
    const auto shown = prompts_->take_shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Не задан срок давности");
}
