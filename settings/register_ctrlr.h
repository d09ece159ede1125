// The limitation period store and the registration of the document file
// type, both kept in the registry (a text store of our own outside Windows).
#pragma once

#include "registry.h"
#include "tax_rates_ntrf.h"

#include <cstdint>
#include <memory>
#include <string>

class register_controller_class {
public:
    // `registry` opens registry access objects on a root key; `program_path`
    // is the full path of the program file, written into the open command.
    register_controller_class(std::shared_ptr<registry_provider_interface> registry, std::string program_path);

    std::shared_ptr<limitation_faces_interface> load_limitation_faces() const;
    std::shared_ptr<limitation_defenition_interface> read_member_limitation() const;
    std::shared_ptr<limitation_defenition_interface> read_company_limitation() const;
    void save_member_limitation(std::int32_t large_size_period, std::int32_t very_large_size_period) const;
    void save_company_limitation(std::int32_t large_size_period, std::int32_t very_large_size_period) const;

    void register_extension(const std::string& extension) const;
    void unregister_extension(const std::string& extension) const;

private:
    std::shared_ptr<registry_provider_interface> registry_;
    std::string program_path_;

    [[noreturn]] static void raise_error(const std::string& message);
};

// The program-wide instance, made at start-up before the main window.
// Throws std::logic_error when none has been installed.
register_controller_class& register_controller();
void set_register_controller(std::unique_ptr<register_controller_class> controller);
