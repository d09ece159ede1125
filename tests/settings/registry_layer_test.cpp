// What every backend of the registry layer must do alike.
#include "registry.h"
#include "test_registry.h"
#include "utf16.h"

#include <gtest/gtest.h>


namespace {

class registry_layer : public ::testing::Test {
protected:
    std::unique_ptr<registry_access_interface> open(registry_root_key root = registry_root_key::current_user) const
    {
        return registry_->provider()->open(root);
    }

    std::unique_ptr<test_registry> registry_ = make_test_registry();
};

TEST_F(registry_layer, opens_keys_creating_them_and_their_parents_only_when_asked)
{
    auto access = open();
    EXPECT_FALSE(access->open_key("\\Software\\Korvalen\\Limitation", false));
    EXPECT_FALSE(access->key_exists("Software\\Korvalen"));

    EXPECT_TRUE(access->open_key("\\Software\\Korvalen\\Limitation", true));
    EXPECT_TRUE(access->key_exists("\\Software\\Korvalen"));
    EXPECT_TRUE(access->key_exists("Software\\Korvalen\\Limitation"));
    // Key names compare regardless of case, as in the system registry.
    EXPECT_TRUE(open()->open_key("SOFTWARE\\korvalen\\LIMITATION", false));
    EXPECT_TRUE(access->get_value_names().empty());

    access->close_key();
    EXPECT_TRUE(access->get_key_names().empty());
    ASSERT_TRUE(access->open_key("Software\\Korvalen", false));
    EXPECT_EQ(access->get_key_names(), std::vector<std::string>{"Limitation"});
}

TEST_F(registry_layer, reads_missing_values_as_empty_text)
{
    auto access = open();
    EXPECT_EQ(access->read_string("MemberLargeSize"), ""); // no key open
    ASSERT_TRUE(access->open_key("Software\\Korvalen\\Limitation", true));
    EXPECT_EQ(access->read_string("MemberLargeSize"), "");
    EXPECT_EQ(access->read_string(""), "");
    EXPECT_EQ(access->get_data_type("MemberLargeSize"), registry_data_type::none);
}

TEST_F(registry_layer, keeps_text_values_exactly)
{
    const std::vector<std::pair<std::string, std::string>> values = {
        {"", "Korvalen"},
        {"Path", "C:\\Program Files\\Velmaris\\velmaris.exe"},
        {"Quotes", "\"C:\\a b\\v.exe\" \"%1\""},
        {"Кириллица", "Velmaris - расчет по ст.ст. 198, 199 УК РФ"},
        {"Empty", ""},
        {"Name=with=equals", "x=\"y\"\\"},
        {"Lines", "first\nsecond\r\nthird"},
        {"Beyond BMP", "\xF0\x9F\x93\x81 folder"},
    };
    {
        auto access = open();
        ASSERT_TRUE(access->open_key("\\Software\\Korvalen\\Тест", true));
        for (const auto& [name, value] : values)
            access->write_string(name, value);
        access->write_string("Path", values[1].second); // replaced, not added
    }
    auto access = open();
    ASSERT_TRUE(access->open_key("Software\\Korvalen\\Тест", false));
    for (const auto& [name, value] : values) {
        SCOPED_TRACE(name);
        EXPECT_EQ(access->read_string(name), value);
        EXPECT_EQ(access->get_data_type(name), registry_data_type::string);
    }
    EXPECT_EQ(access->read_string("path"), values[1].second);
    auto names = access->get_value_names();
    EXPECT_EQ(names.size(), values.size());
}

TEST_F(registry_layer, refuses_to_read_a_number_as_text)
{
    auto access = open();
    ASSERT_TRUE(access->open_key("Software\\Korvalen\\Limitation", true));
    access->write_integer("MemberLargeSize", 10);
    EXPECT_EQ(access->get_data_type("MemberLargeSize"), registry_data_type::integer);
    try {
        access->read_string("MemberLargeSize");
        FAIL() << "no error";
    } catch (const registry_invalid_type_error& error) {
        EXPECT_NE(std::string(error.what()).find("MemberLargeSize"), std::string::npos) << error.what();
    }
}

TEST_F(registry_layer, writes_only_into_an_open_key)
{
    auto access = open();
    EXPECT_THROW(access->write_string("x", "1"), registry_error);
    EXPECT_FALSE(access->open_key("Software\\Missing", false));
    try {
        access->write_string("x", "1");
        FAIL() << "no error";
    } catch (const registry_error& error) {
        // The reason the open failed is not lost.
        EXPECT_NE(std::string(error.what()).find("Missing"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(access->key_exists("Software\\Missing"));
}

TEST_F(registry_layer, deletes_a_key_with_everything_under_it)
{
    auto access = open(registry_root_key::classes_root);
    for (const char* path : {"Korvalen\\Shell\\Open\\Command", "Korvalen\\DefaultIcon", "Korvalenx"}) {
        ASSERT_TRUE(access->open_key(path, true));
        access->write_string("", path);
    }
    access->close_key();

    EXPECT_TRUE(access->delete_key("\\Korvalen"));
    EXPECT_FALSE(access->key_exists("Korvalen"));
    EXPECT_FALSE(access->key_exists("Korvalen\\Shell\\Open"));
    EXPECT_TRUE(access->key_exists("Korvalenx")); // only the key's own subtree goes
    EXPECT_FALSE(access->delete_key("Korvalen"));
    EXPECT_FALSE(access->delete_key("No\\Such\\Key"));
    EXPECT_THROW(access->delete_key("\\"), registry_error);
    EXPECT_THROW(access->delete_key(""), registry_error);
}

TEST_F(registry_layer, keeps_the_two_roots_apart)
{
    auto user = open(registry_root_key::current_user);
    ASSERT_TRUE(user->open_key("Korvalen", true));
    user->write_string("", "user");
    auto classes = open(registry_root_key::classes_root);
    EXPECT_FALSE(classes->open_key("Korvalen", false));
    ASSERT_TRUE(classes->open_key("Korvalen", true));
    EXPECT_EQ(classes->read_string(""), "");
}

TEST_F(registry_layer, rejects_malformed_paths_and_text)
{
    auto access = open();
    EXPECT_THROW(access->open_key("Software\\\\Korvalen", true), registry_error);
    EXPECT_THROW(access->open_key("Soft\nware", true), registry_error);
    ASSERT_TRUE(access->open_key("Software", true));
    EXPECT_THROW(access->write_string("x", "\xC3"), registry_error);
    EXPECT_THROW(access->write_string("\xFF", "x"), registry_error);
}

TEST(key_path, splits_into_names)
{
    EXPECT_EQ(split_key_path("\\Software\\Korvalen\\Limitation"),
              (std::vector<std::string>{"Software", "Korvalen", "Limitation"}));
    EXPECT_EQ(split_key_path(".kvl\\"), std::vector<std::string>{".kvl"});
    EXPECT_TRUE(split_key_path("\\").empty());
    EXPECT_TRUE(split_key_path("").empty());
    EXPECT_THROW(split_key_path("\\\\a"), registry_error);
    EXPECT_EQ(registry_key_display_name(registry_root_key::classes_root, "\\.kvl"), "HKEY_CLASSES_ROOT\\.kvl");
}

TEST(utf16, converts_both_ways)
{
    const std::string text = "a Ё \xE2\x82\xAC \xF0\x9F\x93\x81";
    const std::u16string wide = utf8_to_utf16(text);
    EXPECT_EQ(wide, (std::u16string{u'a', u' ', u'Ё', u' ', u'€', u' ', 0xD83D, 0xDCC1}));
    EXPECT_EQ(utf16_to_utf8(wide), text);
    // An unpaired surrogate from outside is replaced, never refused.
    EXPECT_EQ(utf16_to_utf8(std::u16string{u'a', 0xD800, u'b'}), "a\xEF\xBF\xBD" "b");

    for (const char* bad : {"\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(utf8_to_utf16(bad), registry_error);
    }
}

} // namespace
