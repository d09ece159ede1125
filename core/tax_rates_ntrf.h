// Interfaces of the assessment core: year items and lists, offender
// categories with their thresholds and limitation periods, the protocol and
// the assessment itself. Everything here is plain C++; objects are shared
// through std::shared_ptr and reached only through these interfaces.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Offender category: 0 individual, 1 organisation. A wider integer passed as
// a face type keeps only its low 8 bits, so -1 becomes 255.
using face_type = std::uint8_t;

// Classification of an unpaid sum: -1 undetermined, 0 permissible, 1 large,
// 2 especially large.
using size_category = std::int32_t;

inline constexpr face_type face_member = 0;
inline constexpr face_type face_company = 1;

inline constexpr size_category size_undetermined = -1;
inline constexpr size_category size_permissible = 0;
inline constexpr size_category size_large = 1;
inline constexpr size_category size_very_large = 2;

class year_item_interface {
public:
    virtual ~year_item_interface() = default;
    virtual void set_id(std::int32_t id) = 0;
    virtual std::int32_t get_id() const = 0;
    virtual void set_year(std::uint16_t year) = 0;
    virtual std::uint16_t get_year() const = 0;
    virtual void set_sum(double sum) = 0;
    virtual double get_sum() const = 0;
};

using TItemsYear = std::vector<std::shared_ptr<year_item_interface>>;

class year_list_item_interface {
public:
    virtual ~year_list_item_interface() = default;
    virtual void clear() = 0;
    // Gives the item a fresh id, appends it and sorts the list by year.
    virtual void add_item(const std::shared_ptr<year_item_interface>& item) = 0;
    // Puts the item in the place of the one with the same id; no re-sorting.
    virtual void update_item(const std::shared_ptr<year_item_interface>& item) = 0;
    virtual void delete_item(std::int32_t id) = 0;
    virtual std::shared_ptr<year_item_interface> get_item_by_id(std::int32_t id) const = 0;
    // Throws std::out_of_range for a position outside 0..get_count()-1.
    virtual std::shared_ptr<year_item_interface> get_item(std::int32_t index) const = 0;
    virtual std::shared_ptr<year_item_interface> find_item(std::int32_t id) const = 0;
    virtual std::int32_t get_count() const = 0;
    // Total of the sums of all items whose year lies in [first, last].
    virtual double sum_for_years(std::uint16_t first, std::uint16_t last) const = 0;
    virtual std::int32_t get_update_lock() const = 0;
    virtual TItemsYear get_items() const = 0;
    // Adds the items in order with exactly the result of calling add_item
    // for each, but without re-sorting the whole list every time.
    virtual void add_items(const TItemsYear& items) = 0;
};

class face_definition_interface {
public:
    virtual ~face_definition_interface() = default;
    virtual double get_large_size_sum() const = 0;
    virtual double get_large_size_percent() const = 0;
    virtual double get_large_size_percent_sum() const = 0;
    virtual double get_very_large_size_sum() const = 0;
    virtual double get_very_large_size_percent() const = 0;
    virtual double get_very_large_size_percent_sum() const = 0;
};

class limitation_defenition_interface {
public:
    virtual ~limitation_defenition_interface() = default;
    virtual face_type get_face_type() const = 0;
    // The period for size category 1 or 2; -1 for any other category.
    virtual std::int32_t get_limitation_period(size_category category) const = 0;
    virtual std::int32_t get_large_size_period() const = 0;
    virtual std::int32_t get_very_large_size_period() const = 0;
};

class limitation_faces_interface {
public:
    virtual ~limitation_faces_interface() = default;
    // A null definition is ignored.
    virtual void add_definition(const std::shared_ptr<limitation_defenition_interface>& definition) = 0;
    // The first definition added for the face type, or null.
    virtual std::shared_ptr<limitation_defenition_interface> find_definition(face_type face) const = 0;
};

// The protocol: lines of UTF-8 text, each with a colour value laid out as a
// Windows colour reference (red in the low byte, blue in the third).
class report_information_interface {
public:
    virtual ~report_information_interface() = default;
    virtual void add_line(const std::string& text, size_category category) = 0;
    // Both getters throw std::out_of_range for an index outside the lines.
    virtual std::string get_line(std::int32_t index) const = 0;
    // 0 when the colour entry is not a decimal number.
    virtual std::int32_t get_line_color(std::int32_t index) const = 0;
    virtual std::vector<std::string>& get_lines() = 0;
    virtual std::vector<std::string>& get_colors() = 0;
    virtual void clear() = 0;
};

class taxrate_algorithm_interface {
public:
    virtual ~taxrate_algorithm_interface() = default;
    virtual size_category get_size_category() const = 0;
    virtual void set_items(const TItemsYear& items) = 0;
    virtual void execute() = 0;
    virtual std::shared_ptr<report_information_interface> get_report() const = 0;
};
