// Runs the settings store in a process of its own, to show that what one
// process saves another one reads, and that copies writing at once lose
// nothing. Usage:
//   registry_probe PLACE save ML MVL CL CVL    save both categories
//   registry_probe PLACE expect ML MVL CL CVL  exit 0 when loading gives these
//   registry_probe PLACE fill PREFIX COUNT     write PREFIX0.. one by one
//   registry_probe PLACE remove                remove the probe's registry
#include "number_format.h"
#include "register_ctrlr.h"
#include "test_registry.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::int32_t number(const char* text)
{
    return parse_int32(text).value_or(0);
}

int run(const std::vector<std::string>& args)
{
    if (args.size() < 2)
        return 2;
    const std::string& place = args[0];
    const std::string& command = args[1];
    if (command == "remove") {
        remove_probe_registry(place);
        return 0;
    }
    const auto registry = open_probe_registry(place);
    const register_controller_class controller(registry, "velmaris");
    if (command == "save" && args.size() == 6) {
        controller.save_member_limitation(number(args[2].c_str()), number(args[3].c_str()));
        controller.save_company_limitation(number(args[4].c_str()), number(args[5].c_str()));
        return 0;
    }
    if (command == "expect" && args.size() == 6) {
        const auto faces = controller.load_limitation_faces();
        const auto member = faces->find_definition(face_member);
        const auto company = faces->find_definition(face_company);
        const bool same = member->get_large_size_period() == number(args[2].c_str())
            && member->get_very_large_size_period() == number(args[3].c_str())
            && company->get_large_size_period() == number(args[4].c_str())
            && company->get_very_large_size_period() == number(args[5].c_str());
        if (!same)
            std::fputs("the periods read differ from those expected\n", stderr);
        return same ? 0 : 1;
    }
    if (command == "fill" && args.size() == 4) {
        auto access = registry->open(registry_root_key::current_user);
        if (!access->open_key("Software\\Korvalen\\Fill", true))
            return 1;
        const std::int32_t count = number(args[3].c_str());
        for (std::int32_t i = 0; i < count; ++i)
            access->write_string(args[2] + format_int(i), format_int(i));
        return 0;
    }
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
