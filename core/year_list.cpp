#include "tax_rates_impl.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_set>
#include <utility>

void year_list_item_class::clear()
{
    ids_.clear();
    items_.clear();
}

// n + 1 for the n-th item, unless a deletion left that id in use; then one
// more than the highest id in use.
std::int32_t year_list_item_class::next_id() const
{
    const auto candidate = static_cast<std::int32_t>(ids_.size()) + 1;
    if (std::find(ids_.begin(), ids_.end(), candidate) == ids_.end())
        return candidate;
    return *std::max_element(ids_.begin(), ids_.end()) + 1;
}

std::ptrdiff_t year_list_item_class::position_of(std::int32_t id) const
{
    const auto found = std::find(ids_.begin(), ids_.end(), id);
    return found == ids_.end() ? -1 : found - ids_.begin();
}

bool year_list_item_class::sorted_before_last() const
{
    for (std::size_t i = 1; i + 1 < items_.size(); ++i)
        if (items_[i]->get_year() < items_[i - 1]->get_year())
            return false;
    return true;
}

// Selection sort with a strict comparison. Its order among equal years is
// visible in the tables and decides how the analysis cuts its windows, so it
// is reproduced exactly rather than replaced by a stable sort.
void year_list_item_class::sort_by_year()
{
    const std::size_t n = items_.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        std::size_t candidate = i;
        for (std::size_t j = i + 1; j < n; ++j)
            if (items_[j]->get_year() < items_[candidate]->get_year())
                candidate = j;
        std::swap(items_[i], items_[candidate]);
    }
}

// What the selection sort does when only the last item is out of place: the
// last item walks forward and trades places with every item that is
// strictly greater than the one it carries. Equal years therefore end up
// with the first of each greater group moved to that group's end.
void year_list_item_class::rotate_last_into_place()
{
    auto carried = std::move(items_.back());
    for (std::size_t i = 0; i + 1 < items_.size(); ++i)
        if (carried->get_year() < items_[i]->get_year())
            std::swap(carried, items_[i]);
    items_.back() = std::move(carried);
}

void year_list_item_class::add_item(const std::shared_ptr<year_item_interface>& item)
{
    if (!item)
        return;
    const std::int32_t id = next_id();
    item->set_id(id);
    items_.push_back(item);
    ids_.push_back(id);

    if (items_.size() < 2)
        return;
    if (sorted_before_last())
        rotate_last_into_place();
    else
        sort_by_year();
    for (std::size_t k = 0; k < items_.size(); ++k)
        ids_[k] = items_[k]->get_id();
}

namespace {

// Counts added years so that "how many of them were below year v" is cheap.
class year_counter {
public:
    year_counter() : tree_(65537, 0) {}
    void add(std::uint16_t year)
    {
        for (std::size_t i = std::size_t{year} + 1; i < tree_.size(); i += i & (~i + 1))
            ++tree_[i];
    }
    std::int64_t below(std::uint16_t year) const
    {
        std::int64_t total = 0;
        for (std::size_t i = year; i > 0; i -= i & (~i + 1))
            total += tree_[i];
        return total;
    }

private:
    std::vector<std::int64_t> tree_;
};

// The items of one year in list order, kept as a queue in a plain vector:
// the live members are queue[head...]. A group per distinct year must stay
// cheap, as a document may hold tens of thousands of years.
struct year_group {
    TItemsYear queue;
    std::size_t head = 0;
    std::int64_t synced = 0; // year_counter::below() when last brought up to date

    std::size_t size() const { return queue.size() - head; }
    void push_back(std::shared_ptr<year_item_interface> item) { queue.push_back(std::move(item)); }

    // Every item added below this group's year moves the group's first
    // member to its end; apply the moves owed since the last update.
    void catch_up(std::int64_t below_now)
    {
        const auto live = static_cast<std::int64_t>(size());
        if (live > 1) {
            const std::int64_t turns = (below_now - synced) % live;
            const auto first = queue.begin() + static_cast<std::ptrdiff_t>(head);
            if (turns > live / 2) {
                std::rotate(first, first + static_cast<std::ptrdiff_t>(turns), queue.end());
            } else {
                for (std::int64_t k = 0; k < turns; ++k) {
                    auto front = std::move(queue[head++]);
                    queue.push_back(std::move(front));
                }
                if (head > size()) {
                    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(head));
                    head = 0;
                }
            }
        }
        synced = below_now;
    }
};

} // namespace

void year_list_item_class::add_items(const TItemsYear& items)
{
    auto next = items.begin();
    // The fast path needs a sorted list; one ordinary add sorts it.
    while (next != items.end() &&
           !std::is_sorted(items_.begin(), items_.end(),
                           [](const auto& a, const auto& b) { return a->get_year() < b->get_year(); }))
        add_item(*next++);
    if (next == items.end())
        return;

    std::unordered_set<std::int32_t> used(ids_.begin(), ids_.end());
    std::int32_t highest = ids_.empty() ? 0 : *std::max_element(ids_.begin(), ids_.end());
    std::size_t count = ids_.size();

    // Groups in order of first appearance, found by year through a flat table.
    std::vector<year_group> groups;
    std::vector<std::int32_t> group_of_year(65536, -1);
    const auto group_for = [&](std::uint16_t year) -> std::pair<year_group&, bool> {
        auto& index = group_of_year[year];
        const bool created = index < 0;
        if (created) {
            index = static_cast<std::int32_t>(groups.size());
            groups.emplace_back();
        }
        return {groups[static_cast<std::size_t>(index)], created};
    };
    for (auto& item : items_)
        group_for(item->get_year()).first.push_back(std::move(item));
    items_.clear();

    year_counter added;
    for (; next != items.end(); ++next) {
        const auto& item = *next;
        if (!item)
            continue;
        std::int32_t id = static_cast<std::int32_t>(count) + 1;
        if (used.count(id) != 0)
            id = highest + 1;
        used.insert(id);
        highest = std::max(highest, id);
        ++count;
        item->set_id(id);

        const std::uint16_t year = item->get_year();
        const std::int64_t below = added.below(year);
        auto [group, created] = group_for(year);
        if (created)
            group.synced = below;
        group.catch_up(below);
        group.push_back(item);
        added.add(year);
    }

    for (std::size_t year = 0; year < group_of_year.size(); ++year) {
        if (group_of_year[year] < 0)
            continue;
        auto& group = groups[static_cast<std::size_t>(group_of_year[year])];
        group.catch_up(added.below(static_cast<std::uint16_t>(year)));
        for (std::size_t k = group.head; k < group.queue.size(); ++k)
            items_.push_back(std::move(group.queue[k]));
    }
    ids_.resize(items_.size());
    for (std::size_t k = 0; k < items_.size(); ++k)
        ids_[k] = items_[k]->get_id();
}

void year_list_item_class::update_item(const std::shared_ptr<year_item_interface>& item)
{
    if (!item)
        return;
    const auto p = position_of(item->get_id());
    if (p >= 0 && items_[static_cast<std::size_t>(p)]->get_id() == item->get_id())
        items_[static_cast<std::size_t>(p)] = item;
}

void year_list_item_class::delete_item(std::int32_t id)
{
    const auto p = position_of(id);
    if (p < 0 || items_[static_cast<std::size_t>(p)]->get_id() != id)
        return;
    ids_.erase(ids_.begin() + p);
    items_.erase(items_.begin() + p);
}

std::shared_ptr<year_item_interface> year_list_item_class::get_item_by_id(std::int32_t id) const
{
    const auto p = position_of(id);
    return p < 0 ? nullptr : items_[static_cast<std::size_t>(p)];
}

std::shared_ptr<year_item_interface> year_list_item_class::find_item(std::int32_t id) const
{
    return get_item_by_id(id);
}

std::shared_ptr<year_item_interface> year_list_item_class::get_item(std::int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= items_.size())
        throw std::out_of_range("year list position out of range");
    return items_[static_cast<std::size_t>(index)];
}

std::int32_t year_list_item_class::get_count() const
{
    return static_cast<std::int32_t>(items_.size());
}

// Totals year by year in ascending order, each year's items in list order,
// so the rounding is the same as summing one year at a time.
double year_list_item_class::sum_for_years(std::uint16_t first, std::uint16_t last) const
{
    if (last < first)
        return 0;
    std::vector<std::pair<std::uint16_t, double>> in_range;
    for (const auto& item : items_) {
        const auto year = item->get_year();
        if (year >= first && year <= last)
            in_range.emplace_back(year, item->get_sum());
    }
    std::stable_sort(in_range.begin(), in_range.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    double total = 0;
    for (std::size_t i = 0; i < in_range.size();) {
        double year_sum = 0;
        const auto year = in_range[i].first;
        for (; i < in_range.size() && in_range[i].first == year; ++i)
            year_sum += in_range[i].second;
        total += year_sum;
    }
    return total;
}
