#include "registry_text.h"

#include "number_format.h"
#include "utf16.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

constexpr std::string_view header_line = "Windows Registry Editor Version 5.00";
constexpr std::uint32_t reg_sz = 1;
constexpr std::uint32_t reg_expand_sz = 2;
constexpr std::uint32_t reg_binary = 3;
constexpr std::uint32_t reg_dword = 4;

char fold(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string folded(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), fold);
    return result;
}

bool same_name(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return fold(x) == fold(y);
           });
}

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);
    return text;
}

void skip_blanks(std::string_view& text)
{
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
}

bool starts_with_folded(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && same_name(text.substr(0, prefix.size()), prefix);
}

int hex_digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// 1 to 8 hex digits, the whole text.
std::optional<std::uint32_t> parse_hex32(std::string_view text)
{
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : text) {
        const int digit = hex_digit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

// "0a,ff,00": bytes of one or two hex digits separated by commas; nothing
// at all is no bytes.
std::optional<std::vector<std::uint8_t>> parse_hex_bytes(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    if (trim(text).empty())
        return bytes;
    for (;;) {
        const std::size_t comma = text.find(',');
        const auto byte = parse_hex32(trim(text.substr(0, comma)));
        if (!byte || *byte > 0xFF)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(*byte));
        if (comma == std::string_view::npos)
            return bytes;
        text.remove_prefix(comma + 1);
    }
}

void append_hex_byte(std::string& out, std::uint32_t byte)
{
    constexpr char digits[] = "0123456789abcdef";
    out += digits[(byte >> 4) & 0xF];
    out += digits[byte & 0xF];
}

std::string hex32(std::uint32_t value)
{
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8)
        append_hex_byte(out, value >> shift);
    return out;
}

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

// A quoted text at the start of `text`, which is left after the closing
// quote. Gives the reason when it does not parse.
std::optional<std::string> take_quoted(std::string_view& text, std::string& reason)
{
    std::string value;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return value;
        }
        if (c == '\\') {
            if (i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
                value += text[++i];
                continue;
            }
            reason = "обратная косая черта внутри кавычек должна быть удвоена";
            return std::nullopt;
        }
        value += c;
    }
    reason = "не закрыта кавычка";
    return std::nullopt;
}

std::vector<std::uint8_t> utf16le_bytes(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : utf8_to_utf16(text)) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

// Text up to the first null character; an odd last byte is dropped.
std::string text_of_utf16le(const std::vector<std::uint8_t>& bytes)
{
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0)
            break;
        units += unit;
    }
    return utf16_to_utf8(units);
}

bool fits_in_quotes(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string hex_form(std::uint32_t type, const std::vector<std::uint8_t>& bytes, std::size_t line_start)
{
    std::string out;
    if (type == reg_binary) {
        out = "hex:";
    } else {
        out = "hex(";
        std::string digits = hex32(type);
        digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
        out += digits + "):";
    }
    // Lines are wrapped as the registry editor wraps them, near 80 columns.
    std::size_t column = line_start + out.size();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        append_hex_byte(out, bytes[i]);
        column += 2;
        if (i + 1 < bytes.size()) {
            out += ',';
            ++column;
            if (column > 76) {
                out += "\\\n  ";
                column = 2;
            }
        }
    }
    return out;
}

[[noreturn]] void throw_parse_error(const std::string& file_name, std::size_t line, const std::string& reason)
{
    throw registry_error("Ошибка в файле «" + file_name + "», строка " + format_int(static_cast<std::int64_t>(line))
                         + ": " + reason);
}

} // namespace

registry_data_type registry_text_value::data_type() const
{
    switch (kind) {
    case form::text:
        return registry_data_type::string;
    case form::number:
        return registry_data_type::integer;
    case form::raw:
        break;
    }
    switch (raw_type) {
    case reg_sz:
        return registry_data_type::string;
    case reg_expand_sz:
        return registry_data_type::expand_string;
    case reg_dword:
        return registry_data_type::integer;
    default:
        return registry_data_type::other;
    }
}

std::string registry_text_value_string(const registry_text_value& value)
{
    switch (value.data_type()) {
    case registry_data_type::string:
    case registry_data_type::expand_string:
        return value.kind == registry_text_value::form::text ? value.text : text_of_utf16le(value.raw);
    default:
        throw registry_invalid_type_error::for_value(value.name);
    }
}

registry_text_document::registry_text_document()
{
    keys_.emplace(id_of(registry_root_key::current_user, {}), key_entry{});
    keys_.emplace(id_of(registry_root_key::classes_root, {}), key_entry{});
}

registry_text_document::key_id registry_text_document::id_of(registry_root_key root, const key_names& key)
{
    key_id id{root, {}};
    id.second.reserve(key.size());
    for (const auto& name : key)
        id.second.push_back(folded(name));
    return id;
}

registry_text_document::key_entry* registry_text_document::find_entry(registry_root_key root, const key_names& key)
{
    const auto it = keys_.find(id_of(root, key));
    return it == keys_.end() ? nullptr : &it->second;
}

const registry_text_document::key_entry* registry_text_document::find_entry(registry_root_key root,
                                                                            const key_names& key) const
{
    const auto it = keys_.find(id_of(root, key));
    return it == keys_.end() ? nullptr : &it->second;
}

bool registry_text_document::key_exists(registry_root_key root, const key_names& key) const
{
    return find_entry(root, key) != nullptr;
}

bool registry_text_document::create_key(registry_root_key root, const key_names& key)
{
    bool created = false;
    key_names path;
    for (const auto& name : key) {
        path.push_back(name);
        if (!find_entry(root, path)) {
            keys_.emplace(id_of(root, path), key_entry{path, {}});
            created = true;
        }
    }
    return created;
}

bool registry_text_document::delete_key(registry_root_key root, const key_names& key)
{
    if (key.empty())
        return false;
    const key_id id = id_of(root, key);
    auto it = keys_.find(id);
    if (it == keys_.end())
        return false;
    // Keys sort parent first, so the subtree is the run of keys that follows.
    while (it != keys_.end() && it->first.first == root && it->first.second.size() >= id.second.size()
           && std::equal(id.second.begin(), id.second.end(), it->first.second.begin()))
        it = keys_.erase(it);
    return true;
}

std::vector<std::string> registry_text_document::subkey_names(registry_root_key root, const key_names& key) const
{
    std::vector<std::string> names;
    const key_id id = id_of(root, key);
    auto it = keys_.find(id);
    if (it == keys_.end())
        return names;
    for (++it; it != keys_.end() && it->first.first == root && it->first.second.size() > id.second.size()
               && std::equal(id.second.begin(), id.second.end(), it->first.second.begin());
         ++it) {
        if (it->first.second.size() == id.second.size() + 1)
            names.push_back(it->second.names.back());
    }
    return names;
}

const registry_text_value* registry_text_document::find_value(registry_root_key root, const key_names& key,
                                                              std::string_view name) const
{
    const key_entry* entry = find_entry(root, key);
    if (!entry)
        return nullptr;
    for (const auto& value : entry->values) {
        if (same_name(value.name, name))
            return &value;
    }
    return nullptr;
}

std::vector<std::string> registry_text_document::value_names(registry_root_key root, const key_names& key) const
{
    std::vector<std::string> names;
    if (const key_entry* entry = find_entry(root, key)) {
        for (const auto& value : entry->values)
            names.push_back(value.name);
    }
    return names;
}

void registry_text_document::set_value(registry_root_key root, const key_names& key, registry_text_value value)
{
    // A name must fit on its line of the file.
    if (!fits_in_quotes(value.name))
        throw registry_error("Недопустимое имя значения реестра: перевод строки в имени");
    utf8_to_utf16(value.name);
    if (value.kind == registry_text_value::form::text)
        utf8_to_utf16(value.text);
    create_key(root, key);
    key_entry* entry = find_entry(root, key);
    for (auto& existing : entry->values) {
        if (same_name(existing.name, value.name)) {
            value.name = existing.name;
            existing = std::move(value);
            return;
        }
    }
    entry->values.push_back(std::move(value));
}

std::string registry_text_document::to_text() const
{
    std::string out(header_line);
    out += "\n\n";
    for (const auto& [id, entry] : keys_) {
        if (entry.names.empty() && entry.values.empty())
            continue;
        out += '[';
        out += registry_root_name(id.first);
        if (!entry.names.empty())
            out += '\\' + join_key_path(entry.names);
        out += "]\n";
        for (const auto& value : entry.values) {
            std::string line = value.name.empty() ? "@" : quoted(value.name);
            line += '=';
            switch (value.kind) {
            case registry_text_value::form::text:
                // Line breaks cannot stand inside quotes; such text is kept
                // as UTF-16 data, the way the registry editor keeps it.
                line += fits_in_quotes(value.text) ? quoted(value.text)
                                                   : hex_form(reg_sz, utf16le_bytes(value.text), line.size());
                break;
            case registry_text_value::form::number:
                line += "dword:" + hex32(value.number);
                break;
            case registry_text_value::form::raw:
                line += hex_form(value.raw_type, value.raw, line.size());
                break;
            }
            out += line;
            out += '\n';
        }
        out += '\n';
    }
    return out;
}

registry_text_document registry_text_document::parse(std::string_view text, const std::string& file_name)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);

    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }

    std::size_t line_number = 0;
    const auto fail = [&](const std::string& reason) { throw_parse_error(file_name, line_number, reason); };

    registry_text_document document;
    bool header_seen = false;
    std::optional<std::pair<registry_root_key, key_names>> section;

    for (std::size_t index = 0; index < lines.size(); ++index) {
        line_number = index + 1;
        std::string_view line = trim(lines[index]);
        if (line.empty())
            continue;
        try {
            utf8_to_utf16(line);
        } catch (const registry_error&) {
            fail("текст не в кодировке UTF-8");
        }
        if (!header_seen) {
            if (line != header_line)
                fail("ожидается заголовок «" + std::string(header_line) + "»");
            header_seen = true;
            continue;
        }

        if (line.front() == '[') {
            if (line.back() != ']')
                fail("заголовок раздела не закрыт скобкой «]»");
            const std::string_view inside = line.substr(1, line.size() - 2);
            const std::string_view root_name = inside.substr(0, inside.find('\\'));
            registry_root_key root{};
            if (same_name(root_name, registry_root_name(registry_root_key::current_user)))
                root = registry_root_key::current_user;
            else if (same_name(root_name, registry_root_name(registry_root_key::classes_root)))
                root = registry_root_key::classes_root;
            else
                fail("неизвестный корневой раздел «" + std::string(root_name) + "»");
            key_names key;
            try {
                key = split_key_path(inside.substr(root_name.size()));
            } catch (const registry_error& error) {
                fail(error.what());
            }
            document.create_key(root, key);
            section.emplace(root, std::move(key));
            continue;
        }

        if (line.front() != '"' && line.front() != '@')
            fail("ожидается раздел в квадратных скобках или значение вида \"имя\"=данные");
        if (!section)
            fail("значение стоит до первого раздела");

        registry_text_value value;
        std::string reason;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else {
            auto name = take_quoted(line, reason);
            if (!name)
                fail(reason);
            value.name = std::move(*name);
        }
        skip_blanks(line);
        if (line.empty() || line.front() != '=')
            fail("после имени значения ожидается «=»");
        line.remove_prefix(1);
        skip_blanks(line);

        if (!line.empty() && line.front() == '"') {
            auto data = take_quoted(line, reason);
            if (!data)
                fail(reason);
            if (!trim(line).empty())
                fail("лишний текст после закрывающей кавычки");
            value.kind = registry_text_value::form::text;
            value.text = std::move(*data);
        } else if (starts_with_folded(line, "dword:")) {
            const auto number = parse_hex32(line.substr(6));
            if (!number)
                fail("после «dword:» ожидается от 1 до 8 шестнадцатеричных цифр");
            value.kind = registry_text_value::form::number;
            value.number = *number;
        } else if (starts_with_folded(line, "hex")) {
            line.remove_prefix(3);
            std::uint32_t type = reg_binary;
            if (!line.empty() && line.front() == '(') {
                const std::size_t close = line.find(')');
                const auto number = close == std::string_view::npos ? std::nullopt
                                                                    : parse_hex32(line.substr(1, close - 1));
                if (!number)
                    fail("в «hex(…)» ожидается шестнадцатеричный номер типа");
                type = *number;
                line.remove_prefix(close + 1);
            }
            if (line.empty() || line.front() != ':')
                fail("после «hex» ожидается «:»");
            line.remove_prefix(1);

            // The data may go on over lines that end in a backslash.
            std::string data(trim(line));
            while (!data.empty() && data.back() == '\\') {
                data.pop_back();
                if (index + 1 >= lines.size())
                    fail("шестнадцатеричные данные обрываются в конце файла");
                line_number = ++index + 1;
                data += trim(lines[index]);
            }
            auto bytes = parse_hex_bytes(data);
            if (!bytes)
                fail("шестнадцатеричные данные: ожидаются байты вида «0a», разделённые запятыми");
            value.kind = registry_text_value::form::raw;
            value.raw_type = type;
            value.raw = std::move(*bytes);
        } else {
            fail("данные значения должны быть строкой в кавычках, «dword:» или «hex:»");
        }
        try {
            document.set_value(section->first, section->second, std::move(value));
        } catch (const registry_error& error) {
            fail(error.what());
        }
    }
    return document;
}
