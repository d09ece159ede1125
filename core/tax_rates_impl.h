// The classes of the assessment core. Callers create them with
// std::make_shared<...> and hold them through their interfaces.
#pragma once

#include "tax_rates_ntrf.h"

#include <string>

class year_item_class final : public year_item_interface {
public:
    year_item_class(std::uint16_t year, double sum) : year_(year), sum_(sum) {}
    void set_id(std::int32_t id) override { id_ = id; }
    std::int32_t get_id() const override { return id_; }
    void set_year(std::uint16_t year) override { year_ = year; }
    std::uint16_t get_year() const override { return year_; }
    void set_sum(double sum) override { sum_ = sum; }
    double get_sum() const override { return sum_; }

private:
    std::int32_t id_ = 0;
    std::uint16_t year_;
    double sum_;
};

class year_list_item_class final : public year_list_item_interface {
public:
    void clear() override;
    void add_item(const std::shared_ptr<year_item_interface>& item) override;
    void update_item(const std::shared_ptr<year_item_interface>& item) override;
    void delete_item(std::int32_t id) override;
    std::shared_ptr<year_item_interface> get_item_by_id(std::int32_t id) const override;
    std::shared_ptr<year_item_interface> get_item(std::int32_t index) const override;
    std::shared_ptr<year_item_interface> find_item(std::int32_t id) const override;
    std::int32_t get_count() const override;
    double sum_for_years(std::uint16_t first, std::uint16_t last) const override;
    std::int32_t get_update_lock() const override { return 0; }
    TItemsYear get_items() const override { return items_; }
    void add_items(const TItemsYear& items) override;

private:
    // The id captured for each item when it was added, parallel to items_.
    std::vector<std::int32_t> ids_;
    TItemsYear items_;

    std::int32_t next_id() const;
    std::ptrdiff_t position_of(std::int32_t id) const;
    bool sorted_before_last() const;
    void sort_by_year();
    void rotate_last_into_place();
};

class face_definition_member_class final : public face_definition_interface {
public:
    double get_large_size_sum() const override { return 600000; }
    double get_large_size_percent() const override { return 10; }
    double get_large_size_percent_sum() const override { return 1800000; }
    double get_very_large_size_sum() const override { return 3000000; }
    double get_very_large_size_percent() const override { return 20; }
    double get_very_large_size_percent_sum() const override { return 9000000; }
};

class face_definition_company_class final : public face_definition_interface {
public:
    double get_large_size_sum() const override { return 2000000; }
    double get_large_size_percent() const override { return 10; }
    double get_large_size_percent_sum() const override { return 6000000; }
    double get_very_large_size_sum() const override { return 10000000; }
    double get_very_large_size_percent() const override { return 20; }
    double get_very_large_size_percent_sum() const override { return 30000000; }
};

// The thresholds of a category, or null for a category without them.
std::shared_ptr<face_definition_interface> make_face_definition(face_type face);

class limitation_defenition_class final : public limitation_defenition_interface {
public:
    limitation_defenition_class(face_type face, std::int32_t large_size_period,
                                std::int32_t very_large_size_period)
        : face_(face), large_size_period_(large_size_period),
          very_large_size_period_(very_large_size_period) {}
    face_type get_face_type() const override { return face_; }
    std::int32_t get_limitation_period(size_category category) const override;
    std::int32_t get_large_size_period() const override { return large_size_period_; }
    std::int32_t get_very_large_size_period() const override { return very_large_size_period_; }

private:
    face_type face_;
    std::int32_t large_size_period_;
    std::int32_t very_large_size_period_;
};

class limitation_faces_class final : public limitation_faces_interface {
public:
    void add_definition(const std::shared_ptr<limitation_defenition_interface>& definition) override;
    std::shared_ptr<limitation_defenition_interface> find_definition(face_type face) const override;

private:
    std::vector<std::shared_ptr<limitation_defenition_interface>> definitions_;
    std::vector<face_type> face_types_;
};

// Background colour values of the protocol lines, by size category.
inline constexpr std::int32_t color_undetermined = 15793151; // cream
inline constexpr std::int32_t color_permissible = 12639424;  // pale green
inline constexpr std::int32_t color_large = 16711935;        // magenta
inline constexpr std::int32_t color_very_large = 255;        // red

std::int32_t color_of_category(size_category category);

class report_information_class final : public report_information_interface {
public:
    void add_line(const std::string& text, size_category category) override;
    std::string get_line(std::int32_t index) const override;
    std::int32_t get_line_color(std::int32_t index) const override;
    std::vector<std::string>& get_lines() override { return lines_; }
    std::vector<std::string>& get_colors() override { return colors_; }
    void clear() override;

private:
    std::vector<std::string> lines_;
    std::vector<std::string> colors_;
};

// What the assessment needs of the platform, handed in by its caller.
struct assessment_environment {
    std::string decimal_separator = ",";
    int current_year = 0; // the calendar year of today's date
};

class taxrate_algorithm_class final : public taxrate_algorithm_interface {
public:
    taxrate_algorithm_class(std::shared_ptr<limitation_faces_interface> limitations,
                            std::shared_ptr<year_list_item_interface> liabilities, face_type face,
                            assessment_environment environment);
    size_category get_size_category() const override;
    void set_items(const TItemsYear& items) override { items_ = items; }
    void execute() override;
    std::shared_ptr<report_information_interface> get_report() const override { return report_; }

private:
    double unpaid_sum_ = 0;
    double unpaid_share_ = 0;
    double paid_sum_ = 0;
    double payable_sum_ = 0;
    face_type face_;
    std::shared_ptr<face_definition_interface> face_definition_;
    TItemsYear items_;
    std::shared_ptr<year_list_item_interface> liabilities_;
    std::shared_ptr<report_information_interface> report_;
    std::shared_ptr<limitation_faces_interface> limitations_;
    assessment_environment environment_;

    void report_years();
    void compute_payable();
    void compute_paid();
    void compute_unpaid();
    void compute_share();
    void report_verdict();
    bool is_limitation_expired(size_category category) const;
    std::string money(double value) const;
};
