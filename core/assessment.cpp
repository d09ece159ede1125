#include "number_format.h"
#include "tax_rates_impl.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::array<const char*, 4> verdict_names = {
    "Размер не опеределен",
    "Допустимая",
    "Крупный размер",
    "Особо крупный размер",
};

const char* verdict_name(size_category category)
{
    const auto index = category + 1;
    return index >= 0 && index < static_cast<size_category>(verdict_names.size())
               ? verdict_names[static_cast<std::size_t>(index)]
               : verdict_names[0];
}

} // namespace

taxrate_algorithm_class::taxrate_algorithm_class(std::shared_ptr<limitation_faces_interface> limitations,
                                                 std::shared_ptr<year_list_item_interface> liabilities,
                                                 face_type face, assessment_environment environment)
    : face_(face),
      face_definition_(make_face_definition(face)),
      liabilities_(std::move(liabilities)),
      report_(std::make_shared<report_information_class>()),
      limitations_(std::move(limitations)),
      environment_(std::move(environment))
{
}

std::string taxrate_algorithm_class::money(double value) const
{
    return format_fixed2(value, environment_.decimal_separator);
}

void taxrate_algorithm_class::execute()
{
    report_years();
    compute_payable();
    compute_paid();
    compute_unpaid();
    compute_share();
    report_verdict();
}

void taxrate_algorithm_class::report_years()
{
    report_->clear();
    std::string years;
    for (const auto& item : items_) {
        if (!item)
            continue;
        if (!years.empty())
            years += ',';
        years += format_int(item->get_year());
    }
    report_->add_line("Расчет финансовых лет: " + years, size_undetermined);
    if (!liabilities_ || liabilities_->get_count() == 0)
        report_->add_line("Критерий в зависимости от процентов не использован", size_undetermined);
}

// A year that occurs in several items is a single year of liabilities: it
// is counted (and warned about) once, in the order the years first appear.
void taxrate_algorithm_class::compute_payable()
{
    payable_sum_ = 0;
    std::vector<std::uint16_t> counted;
    for (const auto& item : items_) {
        if (!item)
            continue;
        const auto year = item->get_year();
        if (std::find(counted.begin(), counted.end(), year) != counted.end())
            continue;
        counted.push_back(year);
        const double liability = liabilities_ ? liabilities_->sum_for_years(year, year) : 0.0;
        if (liability == 0.0)
            report_->add_line("ВНИМАНИЕ: Для года " + format_int(year) +
                                  " не использован критерий в зависимости от процентов",
                              size_undetermined);
        payable_sum_ += liability;
    }
    report_->add_line("Сумма налогов (сборов), которая должна быть уплачена: " + money(payable_sum_) + " руб",
                      size_undetermined);
}

void taxrate_algorithm_class::compute_paid()
{
    paid_sum_ = 0;
    if (items_.empty())
        return;
    for (const auto& item : items_)
        if (item)
            paid_sum_ += item->get_sum();
    report_->add_line("Уплаченная сумма налогов (сборов): " + money(paid_sum_) + " руб", size_undetermined);
}

void taxrate_algorithm_class::compute_unpaid()
{
    unpaid_sum_ = payable_sum_ - paid_sum_;
    if (unpaid_sum_ > 0)
        report_->add_line("Сумма неуплаченных налогов (сборов): " + money(unpaid_sum_), size_undetermined);
}

void taxrate_algorithm_class::compute_share()
{
    unpaid_share_ = 0;
    if (payable_sum_ == 0.0)
        return;
    // Product and quotient in extended precision, rounded to double once.
    const long double share =
        static_cast<long double>(unpaid_sum_) * 100.0L / static_cast<long double>(payable_sum_);
    unpaid_share_ = static_cast<double>(share);
    report_->add_line("Доля неуплаченных налогов (сборов): " + money(unpaid_share_) + "%", size_undetermined);
}

void taxrate_algorithm_class::report_verdict()
{
    const size_category category = get_size_category();
    report_->add_line(std::string("Сумма признается как: ") + verdict_name(category), category);
    if (is_limitation_expired(category) && (category == size_large || category == size_very_large))
        report_->add_line("Срок давности по данному преступлению истек", size_undetermined);
    report_->add_line("", size_undetermined);
}

size_category taxrate_algorithm_class::get_size_category() const
{
    if (!face_definition_)
        return size_undetermined;
    const auto& limits = *face_definition_;
    size_category result = size_permissible;
    if (unpaid_sum_ > limits.get_large_size_sum()) {
        if (unpaid_share_ > limits.get_large_size_percent() || unpaid_sum_ > limits.get_large_size_percent_sum())
            result = size_large;
    }
    if (unpaid_sum_ > limits.get_very_large_size_sum()) {
        if (unpaid_share_ > limits.get_very_large_size_percent() ||
            unpaid_sum_ > limits.get_very_large_size_percent_sum())
            result = size_very_large;
    }
    return result;
}

// Measured against the last item of the set by position. Without a
// definition for the category the period is unknown and never runs out.
bool taxrate_algorithm_class::is_limitation_expired(size_category category) const
{
    const auto definition = limitations_ ? limitations_->find_definition(face_) : nullptr;
    if (!definition || items_.empty())
        return false;
    const auto last = std::find_if(items_.rbegin(), items_.rend(), [](const auto& item) { return item != nullptr; });
    if (last == items_.rend())
        return false;
    const std::int64_t period = definition->get_limitation_period(category);
    return std::int64_t{environment_.current_year} - period >= std::int64_t{(*last)->get_year()};
}
