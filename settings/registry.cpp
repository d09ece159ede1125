#include "registry.h"

std::string registry_root_name(registry_root_key root)
{
    return root == registry_root_key::classes_root ? "HKEY_CLASSES_ROOT" : "HKEY_CURRENT_USER";
}

registry_invalid_type_error registry_invalid_type_error::for_value(const std::string& value_name)
{
    return registry_invalid_type_error("Недопустимый тип данных значения «" + value_name + "» реестра: ожидается строка");
}

std::vector<std::string> split_key_path(std::string_view path)
{
    // One leading and one trailing backslash are accepted, as the system does.
    if (!path.empty() && path.front() == '\\')
        path.remove_prefix(1);
    if (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    std::vector<std::string> names;
    if (path.empty())
        return names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find('\\', start);
        const std::string_view name = path.substr(start, end == std::string_view::npos ? end : end - start);
        if (name.empty())
            throw registry_error("Недопустимый путь раздела реестра «" + std::string(path) + "»: пустое имя раздела");
        for (const char c : name) {
            if (static_cast<unsigned char>(c) < 0x20)
                throw registry_error("Недопустимый путь раздела реестра «" + std::string(path)
                                     + "»: управляющий символ в имени раздела");
        }
        names.emplace_back(name);
        if (end == std::string_view::npos)
            return names;
        start = end + 1;
    }
}

std::string join_key_path(const std::vector<std::string>& names)
{
    std::string path;
    for (const auto& name : names) {
        if (!path.empty())
            path += '\\';
        path += name;
    }
    return path;
}

std::string registry_key_display_name(registry_root_key root, const std::string& path)
{
    std::string_view names = path;
    if (!names.empty() && names.front() == '\\')
        names.remove_prefix(1);
    return names.empty() ? registry_root_name(root) : registry_root_name(root) + "\\" + std::string(names);
}
