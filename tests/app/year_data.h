// Year items, lists and limitation sets made from literals, for the tests.
#pragma once

#include "tax_rates_impl.h"

#include <cstdint>
#include <utility>
#include <vector>

using year_sums = std::vector<std::pair<std::uint16_t, double>>;

inline TItemsYear items_of(const year_sums& entries)
{
    TItemsYear items;
    for (auto [year, sum] : entries)
        items.push_back(std::make_shared<year_item_class>(year, sum));
    return items;
}

inline std::shared_ptr<year_list_item_interface> list_of(const year_sums& entries)
{
    auto list = std::make_shared<year_list_item_class>();
    list->add_items(items_of(entries));
    return list;
}

// Individual large and especially large, then organisation large and especially large.
inline std::shared_ptr<limitation_faces_interface> periods(std::int32_t member_large, std::int32_t member_very_large,
                                                           std::int32_t company_large,
                                                           std::int32_t company_very_large)
{
    auto set = std::make_shared<limitation_faces_class>();
    set->add_definition(std::make_shared<limitation_defenition_class>(face_member, member_large, member_very_large));
    set->add_definition(std::make_shared<limitation_defenition_class>(face_company, company_large, company_very_large));
    return set;
}
