// Small helpers of the benchmark program: timing and generated data.
#pragma once

#include "number_format.h"
#include "tax_rates_impl.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

// Best wall time in seconds of `repeats` runs of `work`.
inline double best_seconds(int repeats, const std::function<void()>& work)
{
    double best = 1e300;
    for (int k = 0; k < repeats; ++k) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

// n items over consecutive years from 1990 on, wrapping within 65535.
inline TItemsYear generated_items(int n, double sum)
{
    TItemsYear items;
    items.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        items.push_back(std::make_shared<year_item_class>(static_cast<std::uint16_t>(1990 + k % 60000),
                                                          sum + k % 7));
    return items;
}

inline std::shared_ptr<year_list_item_interface> generated_list(int n, double sum)
{
    auto list = std::make_shared<year_list_item_class>();
    list->add_items(generated_items(n, sum));
    return list;
}

inline void report_line(const std::string& what, double seconds, const std::string& note = {})
{
    std::string line = what;
    line.resize(std::max<std::size_t>(line.size(), 60), ' ');
    const std::string ms = format_fixed2(seconds * 1000.0, ".");
    line += std::string(std::max<std::size_t>(12, ms.size()) - ms.size(), ' ') + ms + " ms";
    if (!note.empty())
        line += "  " + note;
    std::puts(line.c_str());
    std::fflush(stdout);
}

// "x.xx×" of two timings.
inline std::string ratio_text(double numerator, double denominator)
{
    return format_fixed2(numerator / denominator, ".") + "x";
}
