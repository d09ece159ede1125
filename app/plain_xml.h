// A quick reader for the plain XML that the document writer produces: an
// optional UTF-8 declaration, elements without attributes, comments, and text
// with the predefined entities and character references. Building a full DOM
// costs several times more than the file's bytes need, and documents can hold
// a hundred thousand pairs.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t plain_xml_none = static_cast<std::size_t>(-1);

struct plain_xml_element {
    std::string_view name;
    // The element's own text, with references resolved and line ends
    // normalised: a view into the scanned data or into resolved_texts.
    // Blank text is dropped, as the DOM drops whitespace-only text nodes.
    std::string_view text;
    bool has_text = false;
    std::size_t first_child = plain_xml_none;  // index of the first child element
    std::size_t next_sibling = plain_xml_none; // index of the next sibling element
};

struct plain_xml {
    // In the order of their start tags, the root first.
    std::vector<plain_xml_element> elements;
    // The texts that had to be rewritten; on the heap so that views stay put.
    std::vector<std::unique_ptr<std::string>> resolved_texts;
};

// The scanned data (which must outlive the result), or nullopt when it is
// not plain XML in the sense above or not well-formed. The caller then hands
// the data to a full parser, which also gives the reason.
std::optional<plain_xml> scan_plain_xml(std::string_view data);
