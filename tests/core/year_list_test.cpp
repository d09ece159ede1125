#include "tax_rates_impl.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

std::shared_ptr<year_item_interface> item(std::uint16_t year, double sum = 0)
{
    return std::make_shared<year_item_class>(year, sum);
}

std::shared_ptr<year_list_item_class> list_of(const std::vector<std::uint16_t>& years)
{
    auto list = std::make_shared<year_list_item_class>();
    for (auto year : years)
        list->add_item(item(year));
    return list;
}

// "year (id)" per item in list order.
std::vector<std::pair<int, int>> rows(const year_list_item_interface& list)
{
    std::vector<std::pair<int, int>> result;
    for (const auto& entry : list.get_items())
        result.emplace_back(entry->get_year(), entry->get_id());
    return result;
}

} // namespace

TEST(YearList, SortsEqualYearsAsTheSelectionSortDoes)
{
    const struct {
        std::vector<std::uint16_t> added;
        std::vector<std::pair<int, int>> expected;
    } cases[] = {
        {{2005, 2003, 2004}, {{2003, 2}, {2004, 3}, {2005, 1}}},
        {{2001, 2002, 2003, 2002}, {{2001, 1}, {2002, 2}, {2002, 4}, {2003, 3}}},
        {{2001, 2001, 2003, 2000}, {{2000, 4}, {2001, 2}, {2001, 1}, {2003, 3}}},
        {{2004, 2003, 2003}, {{2003, 2}, {2003, 3}, {2004, 1}}},
    };
    for (const auto& c : cases) {
        auto list = list_of(c.added);
        EXPECT_EQ(rows(*list), c.expected);
    }
}

TEST(YearList, AddReplacesAnExistingIdAndIgnoresNull)
{
    auto list = list_of({2001});
    auto moved = item(1999);
    moved->set_id(77);
    list->add_item(moved);
    list->add_item(nullptr);
    EXPECT_EQ(rows(*list), (std::vector<std::pair<int, int>>{{1999, 2}, {2001, 1}}));
}

TEST(YearList, IdsStayUniqueAfterDeletingAnyId)
{
    auto list = list_of({2001, 2002, 2003});
    list->delete_item(1);
    list->add_item(item(2004));
    EXPECT_EQ(rows(*list), (std::vector<std::pair<int, int>>{{2002, 2}, {2003, 3}, {2004, 4}}));

    list->delete_item(2);
    list->add_item(item(2000)); // n + 1 = 3 is taken, so one more than 4
    EXPECT_EQ(rows(*list), (std::vector<std::pair<int, int>>{{2000, 5}, {2003, 3}, {2004, 4}}));

    list->delete_item(4);
    list->add_item(item(2001)); // n + 1 = 3 is taken again, so 6
    EXPECT_EQ(list->find_item(6)->get_year(), 2001);
}

TEST(YearList, UpdateAndDeleteDoNotSortButTheNextAddDoes)
{
    auto list = list_of({2001, 2002, 2003});
    auto changed = list->find_item(3);
    changed->set_year(1990);
    list->update_item(changed);
    EXPECT_EQ(rows(*list), (std::vector<std::pair<int, int>>{{2001, 1}, {2002, 2}, {1990, 3}}));

    list->delete_item(2);
    list->delete_item(42);
    EXPECT_EQ(rows(*list), (std::vector<std::pair<int, int>>{{2001, 1}, {1990, 3}}));

    list->add_item(item(2000));
    EXPECT_EQ(rows(*list), (std::vector<std::pair<int, int>>{{1990, 3}, {2000, 4}, {2001, 1}}));
}

TEST(YearList, UpdateReplacesOnlyTheItemWithThatId)
{
    auto list = list_of({2001, 2002});
    auto replacement = item(2010, 5);
    replacement->set_id(2);
    list->update_item(replacement);
    EXPECT_EQ(list->get_item(1), replacement);

    auto stranger = item(1900);
    stranger->set_id(9);
    list->update_item(stranger);
    EXPECT_EQ(rows(*list), (std::vector<std::pair<int, int>>{{2001, 1}, {2010, 2}}));
}

TEST(YearList, LookupsByIdAndPosition)
{
    auto list = std::make_shared<year_list_item_class>();
    EXPECT_EQ(list->get_count(), 0);
    EXPECT_EQ(list->find_item(1), nullptr);
    list->delete_item(1);

    list = list_of({2005, 2003});
    EXPECT_EQ(list->get_count(), 2);
    EXPECT_EQ(list->get_item_by_id(1)->get_year(), 2005);
    EXPECT_EQ(list->find_item(2)->get_year(), 2003);
    EXPECT_EQ(list->get_item(0)->get_id(), 2);
    EXPECT_THROW(list->get_item(2), std::out_of_range);
    EXPECT_THROW(list->get_item(-1), std::out_of_range);
    EXPECT_EQ(list->get_update_lock(), 0);

    // The handed-out sequence shares the items but not later changes of the list.
    auto items = list->get_items();
    list->clear();
    EXPECT_EQ(items.size(), 2u);
    EXPECT_EQ(list->get_count(), 0);
}

TEST(YearList, SumForYearsOverClosedRanges)
{
    auto list = std::make_shared<year_list_item_class>();
    EXPECT_EQ(list->sum_for_years(0, 65535), 0);
    for (auto [year, sum] : std::vector<std::pair<std::uint16_t, double>>{
             {2001, 1}, {2002, 10}, {2002, 100}, {2003, 1000}, {65535, 5}, {0, 7}})
        list->add_item(item(year, sum));

    EXPECT_EQ(list->sum_for_years(2002, 2002), 110);
    EXPECT_EQ(list->sum_for_years(2001, 2003), 1111);
    EXPECT_EQ(list->sum_for_years(2003, 2001), 0);
    EXPECT_EQ(list->sum_for_years(65535, 65535), 5);
    EXPECT_EQ(list->sum_for_years(0, 65535), 1123);
    EXPECT_EQ(list->sum_for_years(2004, 2010), 0);
}

// Bulk adding is an optimisation of add_item and must never differ from it,
// including on lists left unsorted by an edit and after deletions.
TEST(YearList, AddItemsEqualsAddingOneByOne)
{
    std::mt19937 random(20261211);
    for (int round = 0; round < 300; ++round) {
        std::uniform_int_distribution<int> year(2000, 2000 + (round % 6));
        auto one_by_one = std::make_shared<year_list_item_class>();
        auto bulk = std::make_shared<year_list_item_class>();
        const int prefix = round % 7;
        for (int k = 0; k < prefix; ++k) {
            const auto y = static_cast<std::uint16_t>(year(random));
            one_by_one->add_item(item(y));
            bulk->add_item(item(y));
        }
        if (prefix > 2 && round % 3 == 0) {
            one_by_one->delete_item(1);
            bulk->delete_item(1);
        }
        if (prefix > 1 && round % 2 == 0) {
            one_by_one->get_item(prefix - 2)->set_year(1990);
            bulk->get_item(prefix - 2)->set_year(1990);
        }
        TItemsYear more;
        const int added = 1 + round % 25;
        for (int k = 0; k < added; ++k) {
            const auto y = static_cast<std::uint16_t>(year(random));
            one_by_one->add_item(item(y));
            more.push_back(item(y));
        }
        more.insert(more.begin() + added / 2, nullptr);
        bulk->add_items(more);
        ASSERT_EQ(rows(*bulk), rows(*one_by_one)) << "round " << round;
        for (const auto& [year_value, id] : rows(*one_by_one))
            ASSERT_EQ(bulk->find_item(id)->get_year(), year_value) << "round " << round;
    }
}
