#include "plain_xml.h"

#include "utf8.h"

#include <QString>

#include <algorithm>
#include <initializer_list>

namespace {

bool is_xml_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Names are kept to ASCII letters, digits, "_", "-" and "."; anything richer
// (colons, non-ASCII letters) goes to the full parser.
bool is_name_start(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool is_name_char(char c) { return is_name_start(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// Length of the UTF-8 sequence at the start of `s` when it encodes a
// character allowed in XML; 0 for a broken sequence, an overlong form, a
// surrogate, U+FFFE or U+FFFF.
std::size_t xml_char_length(std::string_view s)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const auto cont = [&](std::size_t i, unsigned lo = 0x80, unsigned hi = 0xBF) {
        return i < s.size() && byte(i) >= lo && byte(i) <= hi;
    };
    const unsigned lead = byte(0);
    if (lead >= 0xC2 && lead <= 0xDF)
        return cont(1) ? 2 : 0;
    if (lead == 0xE0)
        return cont(1, 0xA0) && cont(2) ? 3 : 0;
    if (lead == 0xED)
        return cont(1, 0x80, 0x9F) && cont(2) ? 3 : 0;
    if (lead == 0xEF)
        return cont(1) && cont(2) && !(byte(1) == 0xBF && byte(2) >= 0xBE) ? 3 : 0;
    if (lead >= 0xE1 && lead <= 0xEE)
        return cont(1) && cont(2) ? 3 : 0;
    if (lead == 0xF0)
        return cont(1, 0x90) && cont(2) && cont(3) ? 4 : 0;
    if (lead >= 0xF1 && lead <= 0xF3)
        return cont(1) && cont(2) && cont(3) ? 4 : 0;
    if (lead == 0xF4)
        return cont(1, 0x80, 0x8F) && cont(2) && cont(3) ? 4 : 0;
    return 0;
}

bool is_xml_char(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// "#65", "#x41": the character, or nullopt when the reference is malformed
// or names a character XML does not allow.
std::optional<char32_t> character_reference(std::string_view ref)
{
    const bool hex = ref.starts_with("#x");
    ref.remove_prefix(hex ? 2 : 1);
    if (ref.empty())
        return std::nullopt;
    char32_t value = 0;
    for (const char c : ref) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
        if (value > 0x10FFFF)
            return std::nullopt;
    }
    if (!is_xml_char(value))
        return std::nullopt;
    return value;
}

// The text with the predefined entities and character references resolved
// and line ends turned into "\n"; nullopt for any other reference.
std::optional<std::string> resolve_text(std::string_view raw)
{
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\r') {
            out += '\n';
            if (i + 1 < raw.size() && raw[i + 1] == '\n')
                ++i;
            continue;
        }
        if (c != '&') {
            out += c;
            continue;
        }
        const std::size_t end = raw.find(';', i + 1);
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view ref = raw.substr(i + 1, end - i - 1);
        if (ref == "amp")
            out += '&';
        else if (ref == "lt")
            out += '<';
        else if (ref == "gt")
            out += '>';
        else if (ref == "quot")
            out += '"';
        else if (ref == "apos")
            out += '\'';
        else if (const auto character = ref.starts_with('#') ? character_reference(ref) : std::nullopt)
            append_utf8(out, *character);
        else
            return std::nullopt; // other entities need a DTD
        i = end;
    }
    return out;
}

// Whether every character of `s` is one that XML allows.
bool all_xml_chars(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) {
            const std::size_t length = xml_char_length(s.substr(i));
            if (length == 0)
                return false;
            i += length;
        } else {
            if (c < 0x20 && !is_xml_blank(static_cast<char>(c)))
                return false;
            ++i;
        }
    }
    return true;
}

// Length of `<?xml version="1.0" encoding="UTF-8" standalone="yes"?>` at the
// start of `s`, the encoding and standalone parts optional; 0 for anything
// else, such as another encoding, which the full parser must decode.
std::size_t declaration_length(std::string_view s)
{
    std::size_t pos = 0;
    const auto skip_blanks = [&] {
        const std::size_t start = pos;
        while (pos < s.size() && is_xml_blank(s[pos]))
            ++pos;
        return pos > start;
    };
    const auto take = [&](std::string_view word) {
        if (!s.substr(pos).starts_with(word))
            return false;
        pos += word.size();
        return true;
    };
    // name = "value" or name = 'value'; the value compared without case when asked
    const auto attribute = [&](std::string_view name, std::initializer_list<std::string_view> values,
                               bool any_case) {
        const std::size_t start = pos;
        if (!skip_blanks() || !take(name)) {
            pos = start;
            return false;
        }
        skip_blanks();
        if (!take("=")) {
            pos = start;
            return false;
        }
        skip_blanks();
        const char quote = pos < s.size() ? s[pos] : '\0';
        const std::size_t close = quote == '"' || quote == '\'' ? s.find(quote, pos + 1) : std::string_view::npos;
        if (close == std::string_view::npos) {
            pos = start;
            return false;
        }
        const std::string_view value = s.substr(pos + 1, close - pos - 1);
        const auto same = [&](std::string_view wanted) {
            if (wanted.size() != value.size())
                return false;
            for (std::size_t i = 0; i < value.size(); ++i) {
                char a = value[i];
                char b = wanted[i];
                if (any_case && a >= 'a' && a <= 'z')
                    a = static_cast<char>(a - 'a' + 'A');
                if (a != b)
                    return false;
            }
            return true;
        };
        for (const auto wanted : values) {
            if (same(wanted)) {
                pos = close + 1;
                return true;
            }
        }
        pos = start;
        return false;
    };
    if (!take("<?xml") || !attribute("version", {"1.0"}, false))
        return 0;
    attribute("encoding", {"UTF-8"}, true);
    attribute("standalone", {"yes", "no"}, false);
    skip_blanks();
    return take("?>") ? pos : 0;
}

} // namespace

std::optional<plain_xml> scan_plain_xml(std::string_view data)
{
    plain_xml result;
    auto& elements = result.elements;
    std::vector<std::size_t> open;       // open elements, innermost last
    std::vector<std::size_t> last_child; // the last child seen of each open element
    bool root_closed = false;

    std::size_t pos = data.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    if (data.substr(pos).starts_with("<?")) {
        const std::size_t length = declaration_length(data.substr(pos));
        if (length == 0)
            return std::nullopt;
        pos += length;
    }
    const std::size_t size = data.size();
    while (pos < size) {
        if (data[pos] != '<') {
            const std::size_t start = pos;
            bool blank = true;
            bool rewrite = false; // references or carriage returns
            bool non_ascii = false;
            while (pos < size && data[pos] != '<') {
                const auto c = static_cast<unsigned char>(data[pos]);
                if (c >= 0x80) {
                    const std::size_t length = xml_char_length(data.substr(pos));
                    if (length == 0)
                        return std::nullopt;
                    non_ascii = true;
                    blank = false;
                    pos += length;
                    continue;
                }
                if (c == '>' && pos - start >= 2 && data[pos - 1] == ']' && data[pos - 2] == ']')
                    return std::nullopt;
                if (c < 0x20 && !is_xml_blank(static_cast<char>(c)))
                    return std::nullopt;
                rewrite = rewrite || c == '&' || c == '\r';
                blank = blank && is_xml_blank(static_cast<char>(c));
                ++pos;
            }
            if (blank)
                continue;
            if (open.empty())
                return std::nullopt; // text outside the root
            std::string_view text = data.substr(start, pos - start);
            if (rewrite) {
                auto resolved = resolve_text(text);
                if (!resolved)
                    return std::nullopt;
                if (std::all_of(resolved->begin(), resolved->end(), is_xml_blank))
                    continue;
                non_ascii = non_ascii || std::any_of(resolved->begin(), resolved->end(),
                                                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
                result.resolved_texts.push_back(std::make_unique<std::string>(std::move(*resolved)));
                text = *result.resolved_texts.back();
            }
            // Text that the DOM might drop as blank (U+00A0, U+3000, ...)
            // is left to it.
            if (non_ascii &&
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed().isEmpty())
                return std::nullopt;
            auto& parent = elements[open.back()];
            if (parent.first_child != plain_xml_none || parent.has_text)
                return std::nullopt; // mixed content
            parent.text = text;
            parent.has_text = true;
            continue;
        }

        if (data.substr(pos).starts_with("<!--")) {
            // "--" may only close the comment
            const std::size_t end = data.find("--", pos + 4);
            if (end == std::string_view::npos || end + 2 >= size || data[end + 2] != '>' ||
                !all_xml_chars(data.substr(pos + 4, end - pos - 4)))
                return std::nullopt;
            pos = end + 3;
            continue;
        }

        ++pos;
        const bool closing = pos < size && data[pos] == '/';
        if (closing)
            ++pos;
        const std::size_t name_start = pos;
        if (pos >= size || !is_name_start(data[pos]))
            return std::nullopt; // processing instructions, CDATA, DOCTYPE and broken tags alike
        while (pos < size && is_name_char(data[pos]))
            ++pos;
        const std::string_view name = data.substr(name_start, pos - name_start);

        if (closing) {
            if (pos >= size || data[pos] != '>' || open.empty() || elements[open.back()].name != name)
                return std::nullopt;
            ++pos;
            open.pop_back();
            last_child.pop_back();
            root_closed = open.empty();
            continue;
        }

        const bool empty_element = pos < size && data[pos] == '/';
        if (empty_element)
            ++pos;
        if (pos >= size || data[pos] != '>' || root_closed)
            return std::nullopt;
        ++pos;

        const std::size_t index = elements.size();
        elements.push_back({name, {}, false, plain_xml_none, plain_xml_none});
        if (!open.empty()) {
            auto& parent = elements[open.back()];
            if (parent.has_text)
                return std::nullopt; // mixed content
            if (last_child.back() == plain_xml_none)
                parent.first_child = index;
            else
                elements[last_child.back()].next_sibling = index;
            last_child.back() = index;
        }
        if (empty_element) {
            root_closed = open.empty();
        } else {
            open.push_back(index);
            last_child.push_back(plain_xml_none);
        }
    }
    if (!root_closed)
        return std::nullopt;
    return result;
}
