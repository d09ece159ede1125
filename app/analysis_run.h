// One press of "Проанализировать" without the window: the checks, the
// windows of neighbouring entries and one assessment per window.
#pragma once

#include "tax_rates_impl.h"

#include <memory>
#include <string>
#include <vector>

inline constexpr int AnalysisWindowSize = 3;

struct analysis_outcome {
    // The message of a refused run ("Не выбран объект из списка", ...);
    // empty when the run went ahead.
    std::string refusal;
    // One protocol per window, in window order.
    std::vector<std::shared_ptr<report_information_interface>> protocols;
};

// `category_index` is the category selector's item index (-1: none chosen).
analysis_outcome run_analysis(const std::shared_ptr<limitation_faces_interface>& limitations,
                              int category_index,
                              const std::shared_ptr<year_list_item_interface>& debts,
                              const std::shared_ptr<year_list_item_interface>& liabilities,
                              const assessment_environment& environment);

// The windows of a list of n entries: n - 1 windows for n >= 2, one for n = 1.
std::vector<TItemsYear> analysis_windows(const year_list_item_interface& debts);
