// Number texts shown to the user and stored in documents. They never follow
// the process's C locale: the decimal separator is always passed in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// "%d": decimal digits, a leading minus when negative, no grouping.
std::string format_int(std::int64_t value);

// Fixed point with exactly two decimals, no grouping: 1234.5 -> "1234,50".
std::string format_fixed2(double value, std::string_view decimal_separator);

// General form with at most 15 significant digits: fixed notation for
// magnitudes in [1e-4, 1e15), otherwise "5E-5" / "1E15"; zero is "0".
std::string format_general15(double value, std::string_view decimal_separator);

// An optionally signed decimal integer that fits 32 bits, blanks around it
// allowed; nullopt for anything else.
std::optional<std::int32_t> parse_int32(std::string_view text);

// A decimal number written with the given separator or with either of ","
// and "." (at most one separator), optionally with an exponent; blanks
// around it allowed; nullopt for anything else.
std::optional<double> parse_decimal(std::string_view text, std::string_view decimal_separator);
