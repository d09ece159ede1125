#include "register_ctrlr.h"

#include "number_format.h"
#include "program_title.h"
#include "tax_rates_impl.h"

#include <stdexcept>
#include <utility>

namespace {

const std::string limitation_key = "\\Software\\Korvalen\\Limitation";
const std::string member_large_size = "MemberLargeSize";
const std::string member_very_large_size = "MemberVeryLargeSize";
const std::string company_large_size = "CompanyLargeSize";
const std::string company_very_large_size = "CompanyVeryLargeSize";

const std::string file_type_name = "Korvalen";
const std::string file_type_description = program_title;

// Empty or non-numeric text is a period that is not set.
std::int32_t period_of(const std::string& text)
{
    return parse_int32(text).value_or(0);
}

std::shared_ptr<limitation_defenition_interface> read_limitation(const registry_provider_interface& registry,
                                                                 face_type face, const std::string& large_name,
                                                                 const std::string& very_large_name)
{
    const auto access = registry.open(registry_root_key::current_user);
    // A key that cannot be opened reads as empty: all periods 0.
    access->open_key(limitation_key, true);
    const std::int32_t large = period_of(access->read_string(large_name));
    const std::int32_t very_large = period_of(access->read_string(very_large_name));
    access->close_key();
    return std::make_shared<limitation_defenition_class>(face, large, very_large);
}

void write_limitation(const registry_provider_interface& registry, const std::string& large_name,
                      std::int32_t large, const std::string& very_large_name, std::int32_t very_large)
{
    const auto access = registry.open(registry_root_key::current_user);
    access->open_key(limitation_key, true);
    access->write_string(large_name, format_int(large));
    access->write_string(very_large_name, format_int(very_large));
    access->close_key();
}

void write_default_value(registry_access_interface& access, const std::string& path, const std::string& value)
{
    access.open_key(path, true);
    access.write_string("", value);
    access.close_key();
}

// A single extension with its dot: anything else could name a key that is not
// ours, or the root key itself.
void check_extension(const std::string& extension)
{
    if (extension.size() < 2 || extension.front() != '.' || extension.find('\\') != std::string::npos)
        throw registry_error("Недопустимое расширение «" + extension + "»");
}

std::unique_ptr<register_controller_class>& installed_controller()
{
    static std::unique_ptr<register_controller_class> controller;
    return controller;
}

} // namespace

register_controller_class::register_controller_class(std::shared_ptr<registry_provider_interface> registry,
                                                     std::string program_path)
    : registry_(std::move(registry)), program_path_(std::move(program_path))
{
    if (!registry_)
        throw std::invalid_argument("register_controller_class: no registry");
}

std::shared_ptr<limitation_faces_interface> register_controller_class::load_limitation_faces() const
{
    auto faces = std::make_shared<limitation_faces_class>();
    faces->add_definition(read_member_limitation());
    faces->add_definition(read_company_limitation());
    return faces;
}

std::shared_ptr<limitation_defenition_interface> register_controller_class::read_member_limitation() const
{
    return read_limitation(*registry_, face_member, member_large_size, member_very_large_size);
}

std::shared_ptr<limitation_defenition_interface> register_controller_class::read_company_limitation() const
{
    return read_limitation(*registry_, face_company, company_large_size, company_very_large_size);
}

void register_controller_class::save_member_limitation(std::int32_t large_size_period,
                                                       std::int32_t very_large_size_period) const
{
    try {
        write_limitation(*registry_, member_large_size, large_size_period, member_very_large_size,
                         very_large_size_period);
    } catch (const std::exception& error) {
        raise_error(std::string("Ошибка регистрации сроков давности физ.лица: ") + error.what());
    }
}

void register_controller_class::save_company_limitation(std::int32_t large_size_period,
                                                        std::int32_t very_large_size_period) const
{
    try {
        write_limitation(*registry_, company_large_size, large_size_period, company_very_large_size,
                         very_large_size_period);
    } catch (const std::exception& error) {
        raise_error(std::string("Ошибка регистрации сроков давности юр.лица: ") + error.what());
    }
}

void register_controller_class::register_extension(const std::string& extension) const
{
    try {
        check_extension(extension);
        const auto access = registry_->open(registry_root_key::classes_root);
        write_default_value(*access, "\\" + extension, file_type_name);
        write_default_value(*access, "\\" + file_type_name, file_type_description);
        // Quoted, so that a path with blanks is not cut at the first blank.
        write_default_value(*access, "\\" + file_type_name + "\\Shell\\Open\\Command",
                            "\"" + program_path_ + "\" \"%1\"");
        // The program file has one icon, the application's: index 0.
        write_default_value(*access, "\\" + file_type_name + "\\DefaultIcon", program_path_ + ", 0");
    } catch (const std::exception& error) {
        raise_error(std::string("Ошибка при регистрации расширения: ") + error.what());
    }
}

void register_controller_class::unregister_extension(const std::string& extension) const
{
    try {
        check_extension(extension);
        const auto access = registry_->open(registry_root_key::classes_root);
        // Keys that are missing or may not be deleted are left as they are.
        access->delete_key("\\" + extension);
        access->delete_key("\\" + file_type_name);
    } catch (const std::exception& error) {
        raise_error(std::string("Ошибка при удалении регистрации: ") + error.what());
    }
}

void register_controller_class::raise_error(const std::string& message)
{
    throw registry_error(message);
}

register_controller_class& register_controller()
{
    auto& controller = installed_controller();
    if (!controller)
        throw std::logic_error("Хранилище настроек программы не создано");
    return *controller;
}

void set_register_controller(std::unique_ptr<register_controller_class> controller)
{
    installed_controller() = std::move(controller);
}
