#include "number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace {

std::string_view trim_blanks(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string replace_point(std::string_view text, std::string_view decimal_separator)
{
    std::string result;
    result.reserve(text.size() + decimal_separator.size());
    for (char c : text) {
        if (c == '.')
            result += decimal_separator;
        else
            result += c;
    }
    return result;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string format_int(std::int64_t value)
{
    std::array<char, 24> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return ec == std::errc() ? std::string(buffer.data(), end) : std::string{};
}

std::string format_fixed2(double value, std::string_view decimal_separator)
{
    std::array<char, 400> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed, 2);
    if (ec != std::errc())
        return {};
    return replace_point(std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data())),
                         decimal_separator);
}

std::string format_general15(double value, std::string_view decimal_separator)
{
    if (value == 0.0 || !std::isfinite(value))
        return value == 0.0 ? "0" : std::string{};
    std::array<char, 64> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::general, 15);
    if (ec != std::errc())
        return {};
    const std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const auto e = text.find('e');
    if (e == std::string_view::npos)
        return replace_point(text, decimal_separator);

    // "5e-05" -> "5E-5", "1e+15" -> "1E15"
    std::string result = replace_point(text.substr(0, e), decimal_separator);
    result += 'E';
    std::string_view exponent = text.substr(e + 1);
    if (exponent.front() == '-') {
        result += '-';
        exponent.remove_prefix(1);
    } else if (exponent.front() == '+') {
        exponent.remove_prefix(1);
    }
    while (exponent.size() > 1 && exponent.front() == '0')
        exponent.remove_prefix(1);
    result += exponent;
    return result;
}

std::optional<std::int32_t> parse_int32(std::string_view text)
{
    text = trim_blanks(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || !(is_digit(text.front()) || text.front() == '-'))
        return std::nullopt;
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> parse_decimal(std::string_view text, std::string_view decimal_separator)
{
    text = trim_blanks(text);
    std::string normalized;
    normalized.reserve(text.size());
    int separators = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (!decimal_separator.empty() && text.substr(i).starts_with(decimal_separator)) {
            normalized += '.';
            ++separators;
            i += decimal_separator.size();
        } else if (text[i] == ',' || text[i] == '.') {
            normalized += '.';
            ++separators;
            ++i;
        } else {
            normalized += text[i];
            ++i;
        }
    }
    if (separators > 1)
        return std::nullopt;

    std::string_view number = normalized;
    bool negative = false;
    if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
        negative = number.front() == '-';
        number.remove_prefix(1);
    }
    // Only digits may lead: rules out "inf", "nan", hexadecimal and a bare sign.
    if (number.empty() || !(is_digit(number.front()) || number.front() == '.'))
        return std::nullopt;
    if (number.front() == '.' && (number.size() == 1 || !is_digit(number[1])))
        return std::nullopt;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                           std::chars_format::general);
    if (ec != std::errc() || end != number.data() + number.size())
        return std::nullopt;
    return negative ? -value : value;
}
