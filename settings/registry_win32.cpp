#include "registry_win32.h"

#include "number_format.h"
#include "utf16.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstring>
#include <string_view>
#include <vector>

namespace {

std::wstring wide(std::string_view text)
{
    const std::u16string units = utf8_to_utf16(text);
    return std::wstring(units.begin(), units.end());
}

std::string narrow(std::wstring_view text)
{
    return utf16_to_utf8(std::u16string(text.begin(), text.end()));
}

std::string system_message(LSTATUS code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                            | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPWSTR>(&buffer), 0,
                                        nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    const std::string code_text = "код " + format_int(code);
    return text.empty() ? code_text : narrow(text) + " (" + code_text + ")";
}

HKEY root_handle(registry_root_key root)
{
    return root == registry_root_key::classes_root ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
}

class win32_registry_access final : public registry_access_interface {
public:
    explicit win32_registry_access(registry_root_key root) : root_(root) {}
    ~win32_registry_access() override { close_key(); }
    win32_registry_access(const win32_registry_access&) = delete;
    win32_registry_access& operator=(const win32_registry_access&) = delete;

    registry_root_key root() const override { return root_; }

    bool open_key(const std::string& path, bool can_create) override
    {
        close_key();
        const std::string names = join_key_path(split_key_path(path));
        const std::wstring subkey = wide(names);
        HKEY key = nullptr;
        const LSTATUS status = can_create
            ? RegCreateKeyExW(root_handle(root_), subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr)
            : RegOpenKeyExW(root_handle(root_), subkey.c_str(), 0, KEY_ALL_ACCESS, &key);
        if (status != ERROR_SUCCESS) {
            open_failure_ = std::string(can_create ? "Не удалось создать раздел " : "Не удалось открыть раздел ")
                + registry_key_display_name(root_, names) + ": " + system_message(status);
            return false;
        }
        key_ = key;
        path_ = names;
        return true;
    }

    void close_key() override
    {
        if (key_)
            RegCloseKey(key_);
        key_ = nullptr;
        path_.clear();
        open_failure_ = "Раздел реестра не открыт";
    }

    bool key_exists(const std::string& path) const override
    {
        const std::wstring subkey = wide(join_key_path(split_key_path(path)));
        HKEY key = nullptr;
        if (RegOpenKeyExW(root_handle(root_), subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    std::vector<std::string> get_key_names() const override
    {
        std::vector<std::string> names;
        if (!key_)
            return names;
        for (DWORD index = 0;; ++index) {
            wchar_t name[256]; // the longest key name the system allows, and its null
            DWORD length = 256;
            if (RegEnumKeyExW(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                return names;
            names.push_back(narrow(std::wstring_view(name, length)));
        }
    }

    std::vector<std::string> get_value_names() const override
    {
        std::vector<std::string> names;
        if (!key_)
            return names;
        std::vector<wchar_t> name(16384); // the longest value name the system allows, and its null
        for (DWORD index = 0;; ++index) {
            DWORD length = static_cast<DWORD>(name.size());
            if (RegEnumValueW(key_, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                return names;
            names.push_back(narrow(std::wstring_view(name.data(), length)));
        }
    }

    registry_data_type get_data_type(const std::string& name) const override
    {
        if (!key_)
            return registry_data_type::none;
        DWORD type = REG_NONE;
        if (RegQueryValueExW(key_, wide(name).c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
            return registry_data_type::none;
        switch (type) {
        case REG_SZ:
            return registry_data_type::string;
        case REG_EXPAND_SZ:
            return registry_data_type::expand_string;
        case REG_DWORD:
            return registry_data_type::integer;
        default:
            return registry_data_type::other;
        }
    }

    std::string read_string(const std::string& name) const override
    {
        if (!key_)
            return {};
        const std::wstring value_name = wide(name);
        // RegQueryValueExW rather than RegGetValueW: the latter would expand
        // REG_EXPAND_SZ. The type is checked here, since the call itself
        // reads any kind of data.
        for (;;) {
            DWORD type = REG_NONE;
            DWORD size = 0;
            LSTATUS status = RegQueryValueExW(key_, value_name.c_str(), nullptr, &type, nullptr, &size);
            if (status == ERROR_FILE_NOT_FOUND)
                return {};
            if (status != ERROR_SUCCESS)
                throw read_error(name, status);
            if (type != REG_SZ && type != REG_EXPAND_SZ)
                throw registry_invalid_type_error::for_value(name);
            // Room for a terminating null that the stored data may lack.
            std::vector<BYTE> data(size + 2 * sizeof(wchar_t), 0);
            DWORD got = size;
            status = RegQueryValueExW(key_, value_name.c_str(), nullptr, &type, data.data(), &got);
            if (status == ERROR_MORE_DATA)
                continue; // the value grew in between
            if (status == ERROR_FILE_NOT_FOUND)
                return {};
            if (status != ERROR_SUCCESS)
                throw read_error(name, status);
            if (type != REG_SZ && type != REG_EXPAND_SZ)
                throw registry_invalid_type_error::for_value(name);
            std::wstring text(got / sizeof(wchar_t), L'\0');
            std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
            if (const auto end = text.find(L'\0'); end != std::wstring::npos)
                text.resize(end);
            return narrow(text);
        }
    }

    void write_string(const std::string& name, const std::string& value) override
    {
        const std::wstring text = wide(value);
        write(name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
    }

    void write_integer(const std::string& name, std::uint32_t value) override
    {
        const DWORD number = value;
        write(name, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    }

    bool delete_key(const std::string& path) override
    {
        const std::string names = join_key_path(split_key_path(path));
        if (names.empty())
            throw registry_error("Корневой раздел " + registry_root_name(root_) + " не удаляется");
        return RegDeleteTreeW(root_handle(root_), wide(names).c_str()) == ERROR_SUCCESS;
    }

private:
    registry_error read_error(const std::string& name, LSTATUS status) const
    {
        return registry_error("Не удалось прочитать значение «" + name + "» раздела "
                              + registry_key_display_name(root_, path_) + ": " + system_message(status));
    }

    void write(const std::string& name, DWORD type, const BYTE* data, std::size_t size)
    {
        if (!key_)
            throw registry_error("Не удалось записать значение «" + name + "»: " + open_failure_);
        const LSTATUS status = RegSetValueExW(key_, wide(name).c_str(), 0, type, data, static_cast<DWORD>(size));
        if (status != ERROR_SUCCESS)
            throw registry_error("Не удалось записать значение «" + name + "» в раздел "
                                 + registry_key_display_name(root_, path_) + ": " + system_message(status));
    }

    registry_root_key root_;
    HKEY key_ = nullptr;
    std::string path_;
    std::string open_failure_ = "Раздел реестра не открыт";
};

class win32_registry_provider final : public registry_provider_interface {
public:
    std::unique_ptr<registry_access_interface> open(registry_root_key root) const override
    {
        return std::make_unique<win32_registry_access>(root);
    }
};

} // namespace

std::shared_ptr<registry_provider_interface> make_win32_registry_provider()
{
    return std::make_shared<win32_registry_provider>();
}
