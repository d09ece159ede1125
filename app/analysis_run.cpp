#include "analysis_run.h"

#include <algorithm>

std::vector<TItemsYear> analysis_windows(const year_list_item_interface& debts)
{
    const auto items = debts.get_items();
    const std::size_t n = items.size();
    std::vector<TItemsYear> windows;
    if (n == 1)
        windows.push_back(items);
    for (std::size_t start = 0; start + 1 < n; ++start) {
        const std::size_t end = std::min(n, start + AnalysisWindowSize);
        windows.emplace_back(items.begin() + static_cast<std::ptrdiff_t>(start),
                             items.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return windows;
}

analysis_outcome run_analysis(const std::shared_ptr<limitation_faces_interface>& limitations,
                              int category_index,
                              const std::shared_ptr<year_list_item_interface>& debts,
                              const std::shared_ptr<year_list_item_interface>& liabilities,
                              const assessment_environment& environment)
{
    // Only the categories with thresholds can be assessed; the selector can
    // be left without one by a document whose category is not a number.
    if (category_index != face_member && category_index != face_company)
        return {"Не выбран объект из списка", {}};
    const auto face = static_cast<face_type>(category_index);
    if (!limitations)
        return {"Не задан срок давности", {}};
    const auto definition = limitations->find_definition(face);
    if (!definition)
        return {"Не выбран объект из списка", {}};
    if (definition->get_large_size_period() == 0 || definition->get_very_large_size_period() == 0)
        return {"Не задан срок давности", {}};
    if (!debts || debts->get_count() == 0)
        return {"Таблица \"Неуплаченные налоги\" не заполнена", {}};

    const auto assessment =
        std::make_shared<taxrate_algorithm_class>(limitations, liabilities, face, environment);
    analysis_outcome outcome;
    for (const auto& window : analysis_windows(*debts)) {
        assessment->set_items(window);
        assessment->execute();
        // The assessment empties and refills its one protocol on every
        // execute, so each window's lines can be moved out rather than copied.
        auto protocol = std::make_shared<report_information_class>();
        protocol->get_lines() = std::move(assessment->get_report()->get_lines());
        protocol->get_colors() = std::move(assessment->get_report()->get_colors());
        assessment->get_report()->clear();
        outcome.protocols.push_back(std::move(protocol));
    }
    return outcome;
}
