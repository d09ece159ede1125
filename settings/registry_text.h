// The registry where there is no system registry: keys of both roots with
// their values, kept as text in the registry editor's export format
// ("Windows Registry Editor Version 5.00"), so that a user can read it and an
// export from Windows can be brought over. Plain C++; where the text is kept
// (a file, memory) is a storage object's business (registry_text_store.h).
//
// Key and value names compare without regard to the case of ASCII letters,
// as the system registry compares them; they keep the case they were made in.
#pragma once

#include "registry.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct registry_text_value {
    enum class form {
        text,   // "name"="text": REG_SZ
        number, // "name"=dword:0000000a: REG_DWORD
        raw,    // "name"=hex(N):..: data of type N as stored
    };
    std::string name;
    form kind = form::text;
    std::string text;
    std::uint32_t number = 0;
    std::uint32_t raw_type = 0;
    std::vector<std::uint8_t> raw;

    registry_data_type data_type() const;
};

class registry_text_document {
public:
    using key_names = std::vector<std::string>;

    registry_text_document();

    // The file form. Throws registry_error naming `file_name` and the line
    // when the text does not parse. Empty text is an empty registry.
    static registry_text_document parse(std::string_view text, const std::string& file_name);
    std::string to_text() const;

    bool key_exists(registry_root_key root, const key_names& key) const;
    // Creates the key and its missing parents; false when it was there.
    bool create_key(registry_root_key root, const key_names& key);
    // Removes the key with its subkeys; false when it was not there. The
    // root keys themselves always exist.
    bool delete_key(registry_root_key root, const key_names& key);
    std::vector<std::string> subkey_names(registry_root_key root, const key_names& key) const;

    // Null when the key or the value is missing.
    const registry_text_value* find_value(registry_root_key root, const key_names& key,
                                          std::string_view name) const;
    std::vector<std::string> value_names(registry_root_key root, const key_names& key) const;
    // Creates or replaces the value (matched by name) of an existing key.
    void set_value(registry_root_key root, const key_names& key, registry_text_value value);

private:
    struct key_entry {
        key_names names; // as made, for writing out
        std::vector<registry_text_value> values;
    };
    using key_id = std::pair<registry_root_key, key_names>; // names in lower case

    static key_id id_of(registry_root_key root, const key_names& key);
    key_entry* find_entry(registry_root_key root, const key_names& key);
    const key_entry* find_entry(registry_root_key root, const key_names& key) const;

    std::map<key_id, key_entry> keys_;
};

// The text of a REG_SZ or REG_EXPAND_SZ value; throws
// registry_invalid_type_error, naming the value, for any other kind.
std::string registry_text_value_string(const registry_text_value& value);
