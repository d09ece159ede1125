// UTF-8 <-> UTF-16 for the places where the registry keeps wide text.
#pragma once

#include <string>
#include <string_view>

// Throws registry_error for text that is not well-formed UTF-8.
std::u16string utf8_to_utf16(std::string_view text);

// Unpaired surrogates become U+FFFD: text read from outside is never refused.
std::string utf16_to_utf8(std::u16string_view text);
