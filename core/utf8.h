// Encoding one code point as UTF-8, for the parsers that decode text of
// their own (the quick document scanner, the registry's UTF-16 boundary).
#pragma once

#include <string>

void append_utf8(std::string& out, char32_t c);
