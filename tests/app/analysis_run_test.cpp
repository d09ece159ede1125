#include "analysis_run.h"
#include "year_data.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::vector<int>> window_years(const year_list_item_interface& list)
{
    std::vector<std::vector<int>> result;
    for (const auto& window : analysis_windows(list)) {
        result.emplace_back();
        for (const auto& item : window)
            result.back().push_back(item->get_year());
    }
    return result;
}

const assessment_environment today{",", 2026};

} // namespace

TEST(AnalysisRun, WindowsOfUpToThreeNeighbours)
{
    using windows = std::vector<std::vector<int>>;
    const struct {
        std::vector<std::pair<std::uint16_t, double>> entries;
        windows expected;
    } cases[] = {
        {{}, {}},
        {{{2001, 0}}, {{2001}}},
        {{{2001, 0}, {2002, 0}}, {{2001, 2002}}},
        {{{2001, 0}, {2002, 0}, {2003, 0}}, {{2001, 2002, 2003}, {2002, 2003}}},
        {{{2001, 0}, {2002, 0}, {2003, 0}, {2004, 0}}, {{2001, 2002, 2003}, {2002, 2003, 2004}, {2003, 2004}}},
        {{{2001, 0}, {2002, 0}, {2003, 0}, {2004, 0}, {2005, 0}},
         {{2001, 2002, 2003}, {2002, 2003, 2004}, {2003, 2004, 2005}, {2004, 2005}}},
        {{{2005, 0}, {2008, 0}, {2007, 0}}, {{2005, 2007, 2008}, {2007, 2008}}},
        {{{2003, 0}, {2003, 0}}, {{2003, 2003}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(window_years(*list_of(c.entries)), c.expected);
}

TEST(AnalysisRun, RefusesInOrder)
{
    const auto debts = list_of({{2008, 1}});
    const auto liabilities = list_of({{2008, 10}});
    const auto empty = list_of({});
    const struct {
        std::shared_ptr<limitation_faces_interface> limitations;
        int category;
        std::shared_ptr<year_list_item_interface> debts;
        const char* refusal;
    } cases[] = {
        {periods(2, 5, 2, 5), -1, empty, "Не выбран объект из списка"},
        {periods(2, 5, 2, 5), 2, debts, "Не выбран объект из списка"},
        {nullptr, 0, debts, "Не задан срок давности"},
        {nullptr, -1, debts, "Не выбран объект из списка"},
        {std::make_shared<limitation_faces_class>(), 1, debts, "Не выбран объект из списка"},
        {periods(0, 5, 2, 5), 0, empty, "Не задан срок давности"},
        {periods(2, 0, 2, 5), 0, debts, "Не задан срок давности"},
        {periods(0, 0, 2, 5), 1, empty, "Таблица \"Неуплаченные налоги\" не заполнена"},
        {periods(-1, -1, 0, 0), 0, debts, ""},
        {periods(0, 0, 2, 5), 1, debts, ""},
    };
    for (const auto& c : cases) {
        const auto outcome = run_analysis(c.limitations, c.category, c.debts, liabilities, today);
        EXPECT_EQ(outcome.refusal, c.refusal) << c.category;
        EXPECT_EQ(outcome.protocols.empty(), !std::string(c.refusal).empty());
    }
}

TEST(AnalysisRun, OneProtocolPerWindow)
{
    const auto debts = list_of({{2007, 100000}, {2008, 100000}, {2009, 100000}});
    const auto liabilities = list_of({{2007, 1000000}, {2008, 1000000}, {2009, 1000000}});
    const auto outcome = run_analysis(periods(2, 5, 0, 0), 0, debts, liabilities, today);
    ASSERT_EQ(outcome.protocols.size(), 2u);
    EXPECT_EQ(outcome.protocols[0]->get_line(0), "Расчет финансовых лет: 2007,2008,2009");
    EXPECT_EQ(outcome.protocols[0]->get_line(5), "Сумма признается как: Крупный размер");
    EXPECT_EQ(outcome.protocols[0]->get_line_color(5), 16711935);
    EXPECT_EQ(outcome.protocols[1]->get_line(0), "Расчет финансовых лет: 2008,2009");
    EXPECT_EQ(outcome.protocols[1]->get_lines().back(), "");
}
