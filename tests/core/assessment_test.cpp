#include "tax_rates_impl.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using year_sums = std::vector<std::pair<std::uint16_t, double>>;

std::shared_ptr<year_list_item_interface> liabilities_of(const year_sums& entries)
{
    auto list = std::make_shared<year_list_item_class>();
    for (auto [year, sum] : entries)
        list->add_item(std::make_shared<year_item_class>(year, sum));
    return list;
}

TItemsYear set_of(const year_sums& entries)
{
    TItemsYear items;
    for (auto [year, sum] : entries)
        items.push_back(std::make_shared<year_item_class>(year, sum));
    return items;
}

std::shared_ptr<limitation_faces_interface> periods(std::int32_t large, std::int32_t very_large,
                                                    face_type face = 0)
{
    auto set = std::make_shared<limitation_faces_class>();
    set->add_definition(std::make_shared<limitation_defenition_class>(face, large, very_large));
    return set;
}

struct run_result {
    std::vector<std::string> lines;
    std::vector<std::int32_t> colors;
    size_category category;
};

run_result assess(const year_sums& liabilities, const year_sums& set, face_type face = 0,
                  std::shared_ptr<limitation_faces_interface> limits = periods(2, 5), int current_year = 2026)
{
    taxrate_algorithm_class assessment(std::move(limits), liabilities_of(liabilities), face,
                                       assessment_environment{",", current_year});
    assessment.set_items(set_of(set));
    assessment.execute();
    auto report = assessment.get_report();
    run_result result{report->get_lines(), {}, assessment.get_size_category()};
    for (std::int32_t k = 0; k < static_cast<std::int32_t>(result.lines.size()); ++k)
        result.colors.push_back(report->get_line_color(k));
    return result;
}

bool has_line(const run_result& result, const std::string& line)
{
    return std::find(result.lines.begin(), result.lines.end(), line) != result.lines.end();
}

const std::string expired = "Срок давности по данному преступлению истек";

} // namespace

TEST(Assessment, WorkedExampleOfAnIndividual)
{
    const auto result = assess({{2007, 1000000}, {2008, 1000000}, {2009, 1000000}},
                               {{2007, 100000}, {2008, 100000}, {2009, 100000}}, 0, periods(2, 5), 2026);
    const std::vector<std::string> expected = {
        "Расчет финансовых лет: 2007,2008,2009",
        "Сумма налогов (сборов), которая должна быть уплачена: 3000000,00 руб",
        "Уплаченная сумма налогов (сборов): 300000,00 руб",
        "Сумма неуплаченных налогов (сборов): 2700000,00",
        "Доля неуплаченных налогов (сборов): 90,00%",
        "Сумма признается как: Крупный размер",
        expired,
        "",
    };
    EXPECT_EQ(result.lines, expected);
    const std::vector<std::int32_t> colors = {15793151, 15793151, 15793151, 15793151,
                                              15793151, 16711935, 15793151, 15793151};
    EXPECT_EQ(result.colors, colors);
}

// Liabilities and a paid sum chosen so that the unpaid sum and the share
// come out as given; the "exactly" rows use values exact in binary.
TEST(Assessment, ClassificationBoundaries)
{
    const struct {
        face_type face;
        double payable;
        double paid;
        size_category expected;
    } cases[] = {
        {0, 1200000, 600000, 0},                                 // 600000, 50 %
        {0, 600000.01 * 100 / 10.01, 600000.01 * 100 / 10.01 - 600000.01, 1},
        {0, 6000005, 5400004.5, 0},                              // 600000.5, exactly 10 %
        {0, 1800000.01 * 100, 1800000.01 * 99, 1},               // 1800000.01, 1 %
        {0, 15000002.5, 12000002, 1},                            // 3000000.5, exactly 20 %
        {0, 3000000.01 * 100 / 20.01, 3000000.01 * 100 / 20.01 - 3000000.01, 2},
        {0, 9000000.01, 0.0, 2},                                 // share 100, over 9000000
        {1, 4000000, 2000000, 0},                                // 2000000, 50 %
        {1, 6000000.01 * 20, 6000000.01 * 19, 1},                // 5 %
        {1, 10000000.01 * 4, 10000000.01 * 3, 2},                // 25 %
        {1, 30000000.01 * 100, 30000000.01 * 99, 2},             // 1 %
        {2, 30000000.01 * 100, 0.0, -1},
    };
    for (const auto& c : cases) {
        const auto result = assess({{2010, c.payable}}, {{2010, c.paid}}, c.face, periods(0, 0, c.face));
        EXPECT_EQ(result.category, c.expected) << int{c.face} << " " << c.payable << " " << c.paid;
    }
}

TEST(Assessment, SumsWithoutLiabilities)
{
    const auto result = assess({}, {{2008, 100}, {2009, 50}});
    const std::vector<std::string> expected = {
        "Расчет финансовых лет: 2008,2009",
        "Критерий в зависимости от процентов не использован",
        "ВНИМАНИЕ: Для года 2008 не использован критерий в зависимости от процентов",
        "ВНИМАНИЕ: Для года 2009 не использован критерий в зависимости от процентов",
        "Сумма налогов (сборов), которая должна быть уплачена: 0,00 руб",
        "Уплаченная сумма налогов (сборов): 150,00 руб",
        "Сумма признается как: Допустимая",
        "",
    };
    EXPECT_EQ(result.lines, expected);
    EXPECT_EQ(result.colors[6], 12639424);
}

TEST(Assessment, OverpaidAndEvenSums)
{
    auto over = assess({{2010, 100}}, {{2010, 150}});
    EXPECT_TRUE(has_line(over, "Доля неуплаченных налогов (сборов): -50,00%"));
    EXPECT_FALSE(has_line(over, "Сумма неуплаченных налогов (сборов): -50,00"));
    EXPECT_TRUE(has_line(over, "Сумма признается как: Допустимая"));

    auto even = assess({{2010, 100}}, {{2010, 100}});
    EXPECT_TRUE(has_line(even, "Доля неуплаченных налогов (сборов): 0,00%"));
    EXPECT_EQ(even.lines.size(), 6u);
}

TEST(Assessment, UndeterminedForACategoryWithoutThresholds)
{
    const auto result = assess({{2008, 1e9}}, {{2008, 1}}, 2, periods(1, 1, 2));
    EXPECT_EQ(result.lines[0], "Расчет финансовых лет: 2008");
    EXPECT_TRUE(has_line(result, "Сумма признается как: Размер не опеределен"));
    EXPECT_FALSE(has_line(result, expired));
    for (auto color : result.colors)
        EXPECT_EQ(color, 15793151);
}

// A year entered twice in one window is still one year of liabilities.
TEST(Assessment, RepeatedYearCountsItsLiabilitiesOnce)
{
    const auto result = assess({{2008, 1000000}}, {{2008, 200000}, {2008, 200000}, {2009, 100}});
    const std::vector<std::string> expected = {
        "Расчет финансовых лет: 2008,2008,2009",
        "ВНИМАНИЕ: Для года 2009 не использован критерий в зависимости от процентов",
        "Сумма налогов (сборов), которая должна быть уплачена: 1000000,00 руб",
        "Уплаченная сумма налогов (сборов): 400100,00 руб",
        "Сумма неуплаченных налогов (сборов): 599900,00",
        "Доля неуплаченных налогов (сборов): 59,99%",
        "Сумма признается как: Допустимая",
        "",
    };
    EXPECT_EQ(result.lines, expected);

    const auto warned = assess({}, {{2011, 1}, {2011, 2}});
    EXPECT_EQ(std::count(warned.lines.begin(), warned.lines.end(),
                         "ВНИМАНИЕ: Для года 2011 не использован критерий в зависимости от процентов"),
              1);
}

TEST(Assessment, LimitationPeriodRunsFromTheLastItem)
{
    const year_sums liabilities = {{2008, 5000000}, {2010, 5000000}};
    const struct {
        year_sums set;
        std::int32_t period;
        int current_year;
        bool expired;
    } cases[] = {
        {{{2010, 0}}, 3, 2013, true},
        {{{2010, 0}}, 3, 2012, false},
        {{{2010, 0}}, 0, 2010, true},
        {{{2010, 0}}, -2, 2008, true},
        {{{2010, 0}}, -2, 2007, false},
        {{{2010, 0}, {2008, 0}}, 3, 2011, true}, // last by position, not the largest year
        {{{2008, 0}, {2010, 0}}, 3, 2011, false},
        {{{2010, 0}}, std::numeric_limits<std::int32_t>::min(), 2026, true},
    };
    for (const auto& c : cases) {
        const auto result = assess(liabilities, c.set, 0, periods(c.period, c.period), c.current_year);
        EXPECT_EQ(has_line(result, expired), c.expired) << c.period << " " << c.current_year;
    }
}

TEST(Assessment, NoLimitationLineWhenNotLargeOrWithoutDefinition)
{
    EXPECT_FALSE(has_line(assess({{2000, 100}}, {{2000, 90}}, 0, periods(1, 1)), expired));
    const auto no_definition =
        assess({{2000, 1e8}}, {{2000, 0}}, 0, std::make_shared<limitation_faces_class>(), 2026);
    EXPECT_TRUE(has_line(no_definition, "Сумма признается как: Особо крупный размер"));
    EXPECT_FALSE(has_line(no_definition, expired));
    EXPECT_FALSE(has_line(assess({{2000, 1e8}}, {{2000, 0}}, 0, nullptr, 2026), expired));
}

TEST(Assessment, ExecuteRebuildsTheSameProtocol)
{
    taxrate_algorithm_class assessment(periods(2, 5), liabilities_of({{2007, 1000000}}), 0,
                                       assessment_environment{".", 2026});
    assessment.set_items(set_of({{2007, 1}}));
    assessment.execute();
    const auto first = assessment.get_report()->get_lines();
    assessment.execute();
    EXPECT_EQ(assessment.get_report()->get_lines(), first);
    EXPECT_EQ(first[1], "Сумма налогов (сборов), которая должна быть уплачена: 1000000.00 руб");

    assessment.set_items({});
    assessment.execute();
    EXPECT_EQ(assessment.get_report()->get_lines(),
              (std::vector<std::string>{"Расчет финансовых лет: ",
                                        "Сумма налогов (сборов), которая должна быть уплачена: 0.00 руб",
                                        "Сумма признается как: Допустимая", ""}));
}
