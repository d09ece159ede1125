// The text store's file form: the registry editor's export format.
#include "registry_text.h"

#include <gtest/gtest.h>

namespace {

using names = std::vector<std::string>;
constexpr auto user = registry_root_key::current_user;
constexpr auto classes = registry_root_key::classes_root;

registry_text_value text_value(std::string name, std::string text)
{
    registry_text_value value;
    value.name = std::move(name);
    value.text = std::move(text);
    return value;
}

registry_text_value number_value(std::string name, std::uint32_t number)
{
    registry_text_value value;
    value.name = std::move(name);
    value.kind = registry_text_value::form::number;
    value.number = number;
    return value;
}

registry_text_document parse(std::string_view text)
{
    return registry_text_document::parse(text, "/home/user/.config/Korvalen/registry.reg");
}

std::string string_of(const registry_text_document& document, registry_root_key root, const names& key,
                      std::string_view name)
{
    const registry_text_value* value = document.find_value(root, key, name);
    return value ? registry_text_value_string(*value) : "(none)";
}

TEST(registry_text, writes_the_export_format)
{
    registry_text_document document;
    document.create_key(user, {"Software", "Korvalen", "Limitation"});
    document.set_value(user, {"Software", "Korvalen", "Limitation"}, text_value("MemberLargeSize", "5"));
    document.set_value(user, {"Software", "Korvalen", "Limitation"}, number_value("CompanyLargeSize", 10));
    document.set_value(classes, {".kvl"}, text_value("", "Korvalen"));
    document.set_value(classes, {"Korvalen", "Shell", "Open", "Command"},
                       text_value("", "\"C:\\Program Files\\v.exe\" \"%1\""));
    document.set_value(classes, {"Korvalen"}, text_value("", "Velmaris - расчет"));

    EXPECT_EQ(document.to_text(), "Windows Registry Editor Version 5.00\n"
                                  "\n"
                                  "[HKEY_CURRENT_USER\\Software]\n"
                                  "\n"
                                  "[HKEY_CURRENT_USER\\Software\\Korvalen]\n"
                                  "\n"
                                  "[HKEY_CURRENT_USER\\Software\\Korvalen\\Limitation]\n"
                                  "\"MemberLargeSize\"=\"5\"\n"
                                  "\"CompanyLargeSize\"=dword:0000000a\n"
                                  "\n"
                                  "[HKEY_CLASSES_ROOT\\.kvl]\n"
                                  "@=\"Korvalen\"\n"
                                  "\n"
                                  "[HKEY_CLASSES_ROOT\\Korvalen]\n"
                                  "@=\"Velmaris - расчет\"\n"
                                  "\n"
                                  "[HKEY_CLASSES_ROOT\\Korvalen\\Shell]\n"
                                  "\n"
                                  "[HKEY_CLASSES_ROOT\\Korvalen\\Shell\\Open]\n"
                                  "\n"
                                  "[HKEY_CLASSES_ROOT\\Korvalen\\Shell\\Open\\Command]\n"
                                  "@=\"\\\"C:\\\\Program Files\\\\v.exe\\\" \\\"%1\\\"\"\n"
                                  "\n");
}

TEST(registry_text, reads_back_what_it_writes)
{
    registry_text_document document;
    const names key{"Software", "Korvalen", "Тест"};
    const std::vector<std::pair<std::string, std::string>> values = {
        {"", "default"},
        {"Кириллица", "Значение с \"кавычками\" и \\ чертой"},
        {"\\\"", "\\\\\""},
        {"multi", "line one\r\nline two that is long enough to wrap the hex data over several lines of the file"},
    };
    for (const auto& [name, text] : values)
        document.set_value(user, key, text_value(name, text));
    document.set_value(user, key, number_value("n", 0xFFFFFFFF));

    const auto again = parse(document.to_text());
    for (const auto& [name, text] : values)
        EXPECT_EQ(string_of(again, user, key, name), text) << name;
    EXPECT_EQ(again.find_value(user, key, "n")->number, 0xFFFFFFFFu);
    EXPECT_EQ(again.to_text(), document.to_text());
}

TEST(registry_text, reads_what_the_registry_editor_exports)
{
    // CRLF lines, a byte order mark, hex data over several lines, an
    // expandable string and a section met twice.
    const std::string text = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
                             "\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Korvalen\\Limitation]\r\n"
                             "\"MemberLargeSize\"=\"3\"\r\n"
                             "\"Expand\"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,5c,00,78,00,00,\\\r\n"
                             "  00\r\n"
                             "\"Binary\"=hex:01,02\r\n"
                             "\"Plain\"=hex(1):41,00\r\n"
                             "\"Number\"=DWORD:0000000A\r\n"
                             "\r\n"
                             "[hkey_classes_root\\.KVL]\r\n"
                             "@=\"Korvalen\"\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Korvalen\\Limitation]\r\n"
                             "\"MemberVeryLargeSize\" = \"6\"  \r\n";
    const auto document = parse(text);
    const names key{"Software", "Korvalen", "Limitation"};
    EXPECT_EQ(string_of(document, user, key, "memberlargesize"), "3");
    EXPECT_EQ(string_of(document, user, key, "MemberVeryLargeSize"), "6");
    EXPECT_EQ(string_of(document, user, key, "Expand"), "%TEMP%\\x"); // not expanded
    EXPECT_EQ(document.find_value(user, key, "Expand")->data_type(), registry_data_type::expand_string);
    EXPECT_EQ(string_of(document, user, key, "Plain"), "A"); // no terminating null
    EXPECT_EQ(document.find_value(user, key, "Number")->number, 10u);
    EXPECT_THROW(registry_text_value_string(*document.find_value(user, key, "Number")), registry_invalid_type_error);
    EXPECT_THROW(registry_text_value_string(*document.find_value(user, key, "Binary")), registry_invalid_type_error);
    EXPECT_EQ(string_of(document, classes, {".kvl"}, ""), "Korvalen");
    EXPECT_TRUE(document.key_exists(user, {"Software"}));

    // Raw data is written back as it came.
    const auto again = parse(document.to_text());
    EXPECT_EQ(again.find_value(user, key, "Binary")->raw, (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(string_of(again, user, key, "Expand"), "%TEMP%\\x");
}

TEST(registry_text, takes_an_empty_file_for_an_empty_registry)
{
    EXPECT_FALSE(parse("").key_exists(user, {"Software"}));
    EXPECT_FALSE(parse("\n  \n").key_exists(user, {"Software"}));
    EXPECT_FALSE(parse("Windows Registry Editor Version 5.00\n").key_exists(user, {"Software"}));
}

struct broken_case {
    const char* name;
    const char* text;
    int line;
};

void PrintTo(const broken_case& value, std::ostream* out)
{
    *out << value.name;
}

class registry_text_broken : public ::testing::TestWithParam<broken_case> {};

TEST_P(registry_text_broken, is_refused_naming_file_and_line)
{
    try {
        parse(GetParam().text);
        FAIL() << "parsed";
    } catch (const registry_error& error) {
        const std::string expected = "Ошибка в файле «/home/user/.config/Korvalen/registry.reg», строка "
            + std::to_string(GetParam().line) + ": ";
        EXPECT_EQ(std::string(error.what()).rfind(expected, 0), 0u) << error.what();
    }
}

#define HEADER "Windows Registry Editor Version 5.00\n\n"
#define SECTION "[HKEY_CURRENT_USER\\Software\\Korvalen\\Limitation]\n"

INSTANTIATE_TEST_SUITE_P(
    cases, registry_text_broken,
    ::testing::Values(broken_case{"no_header", "[HKEY_CURRENT_USER\\Software]\n", 1},
                      broken_case{"old_header", "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n", 1},
                      broken_case{"value_before_section", HEADER "\"a\"=\"1\"\n", 3},
                      broken_case{"unknown_root", HEADER "[HKEY_LOCAL_MACHINE\\Software]\n", 3},
                      broken_case{"deleting_section", HEADER "[-HKEY_CURRENT_USER\\Software]\n", 3},
                      broken_case{"unclosed_section", HEADER "[HKEY_CURRENT_USER\\Software\n", 3},
                      broken_case{"empty_key_name", HEADER "[HKEY_CURRENT_USER\\Software\\\\Korvalen]\n", 3},
                      broken_case{"unclosed_quote", HEADER SECTION "\"MemberLargeSize\"=\"5\n", 4},
                      broken_case{"single_backslash", HEADER SECTION "\"Path\"=\"C:\\Program Files\"\n", 4},
                      broken_case{"text_after_quote", HEADER SECTION "\"a\"=\"5\" лет\n", 4},
                      broken_case{"no_equals", HEADER SECTION "\"a\" \"5\"\n", 4},
                      broken_case{"bare_number", HEADER SECTION "\"a\"=5\n", 4},
                      broken_case{"deleting_value", HEADER SECTION "\"a\"=-\n", 4},
                      broken_case{"long_dword", HEADER SECTION "\"a\"=dword:000000001\n", 4},
                      broken_case{"bad_dword", HEADER SECTION "\"a\"=dword:1g\n", 4},
                      broken_case{"bad_hex", HEADER SECTION "\"a\"=hex:1,2x\n", 4},
                      broken_case{"big_hex_byte", HEADER SECTION "\"a\"=hex:100\n", 4},
                      broken_case{"hex_cut_off", HEADER SECTION "\"a\"=hex:01,\\\n", 4},
                      broken_case{"bad_hex_continued", HEADER SECTION "\"a\"=hex:01,\\\n  zz\n", 5},
                      broken_case{"not_utf8", HEADER SECTION "\"a\"=\"\xE9t\xE9\"\n", 4},
                      broken_case{"stray_line", HEADER SECTION "MemberLargeSize=5\n", 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(registry_text, every_cut_of_a_valid_file_parses_or_fails_cleanly)
{
    registry_text_document document;
    const names key{"Software", "Korvalen", "Limitation"};
    document.set_value(user, key, text_value("MemberLargeSize", "Кириллица \"5\" \\"));
    document.set_value(user, key, number_value("CompanyLargeSize", 10));
    document.set_value(user, key, text_value("Lines", "a\nb"));
    document.set_value(classes, {".kvl"}, text_value("", "Korvalen"));
    const std::string text = document.to_text();
    for (std::size_t length = 0; length <= text.size(); ++length) {
        try {
            parse(std::string_view(text).substr(0, length));
        } catch (const registry_error&) {
        }
    }
}

} // namespace
