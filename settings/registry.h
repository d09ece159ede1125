// A small registry layer: access objects on a root key that open keys by
// path and read and write their values. On Windows it is the system
// registry; elsewhere a text store of our own stands in for it. Plain C++,
// so that the Windows backend builds and runs without Qt.
//
// Texts are UTF-8. A key path is a list of key names joined by backslashes;
// a leading backslash (a path from the root key) is allowed and means the
// same. An empty value name is the key's default value.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

enum class registry_root_key { current_user, classes_root };

// "HKEY_CURRENT_USER" or "HKEY_CLASSES_ROOT".
std::string registry_root_name(registry_root_key root);

// Failures of the layer; the message is Russian text for the user.
class registry_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A value read as text holds data of another kind (a number, binary data).
class registry_invalid_type_error : public registry_error {
public:
    using registry_error::registry_error;
    // The error for the value of that name.
    static registry_invalid_type_error for_value(const std::string& value_name);
};

enum class registry_data_type {
    none,          // no such value
    string,        // REG_SZ
    expand_string, // REG_EXPAND_SZ
    integer,       // REG_DWORD
    other,         // any other kind of data
};

// One registry access object: a root key and at most one open key. Paths are
// always taken from the root key, whichever key is open.
class registry_access_interface {
public:
    virtual ~registry_access_interface() = default;

    virtual registry_root_key root() const = 0;

    // Opens the key, first closing the open one. With `can_create` a missing
    // key is created together with its missing parents. Gives false when the
    // key is missing (and not to be created) or cannot be opened; the reason
    // is kept for the error of a later write. Throws registry_error for an
    // invalid path, or when the store itself cannot be read.
    virtual bool open_key(const std::string& path, bool can_create) = 0;
    virtual void close_key() = 0;

    virtual bool key_exists(const std::string& path) const = 0;
    // Names of the open key's subkeys and values; empty without an open key.
    virtual std::vector<std::string> get_key_names() const = 0;
    virtual std::vector<std::string> get_value_names() const = 0;
    virtual registry_data_type get_data_type(const std::string& name) const = 0;

    // The text of a REG_SZ or REG_EXPAND_SZ value (environment variables are
    // not expanded); empty for a missing value or without an open key.
    // Throws registry_invalid_type_error for a value of another kind.
    virtual std::string read_string(const std::string& name) const = 0;

    // Create or replace a REG_SZ or REG_DWORD value of the open key; throw
    // registry_error when no key is open (naming why the last open failed)
    // or the write fails.
    virtual void write_string(const std::string& name, const std::string& value) = 0;
    virtual void write_integer(const std::string& name, std::uint32_t value) = 0;

    // Deletes the key with all its subkeys and values. Gives false when the
    // key is missing or cannot be deleted. Throws registry_error for an empty
    // path: the root key itself is never deleted.
    virtual bool delete_key(const std::string& path) = 0;
};

// Makes registry access objects; one backend, shared by whoever needs it.
class registry_provider_interface {
public:
    virtual ~registry_provider_interface() = default;
    virtual std::unique_ptr<registry_access_interface> open(registry_root_key root) const = 0;
};

// The key names of a path: "\Software\Korvalen\" -> {"Software", "Korvalen"};
// "" and "\" give no names (the root key). Throws registry_error for a path
// with an empty name inside ("a\\b") or a name with a control character.
std::vector<std::string> split_key_path(std::string_view path);

// The names joined by backslashes.
std::string join_key_path(const std::vector<std::string>& names);

// Root and path for messages: "HKEY_CURRENT_USER\Software\Korvalen".
std::string registry_key_display_name(registry_root_key root, const std::string& path);
