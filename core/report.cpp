#include "number_format.h"
#include "tax_rates_impl.h"

#include <stdexcept>

std::int32_t color_of_category(size_category category)
{
    switch (category) {
    case size_permissible:
        return color_permissible;
    case size_large:
        return color_large;
    case size_very_large:
        return color_very_large;
    default:
        // Undetermined, and any category without a colour of its own.
        return color_undetermined;
    }
}

namespace {

void check_index(std::int32_t index, std::size_t count)
{
    if (index < 0 || static_cast<std::size_t>(index) >= count)
        throw std::out_of_range("protocol line index out of range");
}

} // namespace

void report_information_class::add_line(const std::string& text, size_category category)
{
    lines_.push_back(text);
    colors_.push_back(format_int(color_of_category(category)));
}

std::string report_information_class::get_line(std::int32_t index) const
{
    check_index(index, lines_.size());
    return lines_[static_cast<std::size_t>(index)];
}

std::int32_t report_information_class::get_line_color(std::int32_t index) const
{
    check_index(index, colors_.size());
    return parse_int32(colors_[static_cast<std::size_t>(index)]).value_or(0);
}

void report_information_class::clear()
{
    lines_.clear();
    colors_.clear();
}
