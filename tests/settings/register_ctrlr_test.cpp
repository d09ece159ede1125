// The limitation period store and the file type registration, on the
// registry of this build.
#include "register_ctrlr.h"
#include "test_registry.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const std::string limitation_key = "Software\\Korvalen\\Limitation";
const std::string program_path = "C:\\Program Files\\Velmaris\\velmaris.exe";

struct periods {
    std::int32_t large;
    std::int32_t very_large;
    bool operator==(const periods&) const = default;
};

std::ostream& operator<<(std::ostream& out, const periods& value)
{
    return out << "(" << value.large << ", " << value.very_large << ")";
}

periods periods_of(const std::shared_ptr<limitation_defenition_interface>& definition)
{
    return {definition->get_large_size_period(), definition->get_very_large_size_period()};
}

class register_controller_test : public ::testing::Test {
protected:
    std::unique_ptr<registry_access_interface> open(registry_root_key root) const
    {
        return registry_->provider()->open(root);
    }

    void store(const std::map<std::string, std::string>& values) const
    {
        auto access = open(registry_root_key::current_user);
        ASSERT_TRUE(access->open_key(limitation_key, true));
        for (const auto& [name, value] : values)
            access->write_string(name, value);
    }

    // Every key under the root below `path`, with its values: what a
    // registration leaves behind.
    std::map<std::string, std::string> dump(registry_root_key root, const std::string& path) const
    {
        std::map<std::string, std::string> result;
        auto access = open(root);
        if (!access->open_key(path, false))
            return result;
        result[path] = "";
        for (const auto& name : access->get_value_names())
            result[path + "|" + name] = access->read_string(name);
        for (const auto& name : access->get_key_names()) {
            auto below = dump(root, path + "\\" + name);
            result.insert(below.begin(), below.end());
        }
        return result;
    }

    std::unique_ptr<test_registry> registry_ = make_test_registry();
    register_controller_class controller_{registry_->provider(), program_path};
};

TEST_F(register_controller_test, first_start_creates_the_empty_key_and_gives_zero_periods)
{
    const auto faces = controller_.load_limitation_faces();
    ASSERT_TRUE(faces->find_definition(face_member));
    ASSERT_TRUE(faces->find_definition(face_company));
    EXPECT_EQ(periods_of(faces->find_definition(face_member)), (periods{0, 0}));
    EXPECT_EQ(periods_of(faces->find_definition(face_company)), (periods{0, 0}));

    auto access = open(registry_root_key::current_user);
    ASSERT_TRUE(access->open_key(limitation_key, false));
    EXPECT_TRUE(access->get_value_names().empty()); // defaults are never written back
}

struct stored_case {
    const char* name;
    std::map<std::string, std::string> values;
    periods member;
    periods company;
};

void PrintTo(const stored_case& value, std::ostream* out)
{
    *out << value.name;
}

class register_controller_reads : public register_controller_test,
                                  public ::testing::WithParamInterface<stored_case> {};

TEST_P(register_controller_reads, periods_from_stored_text)
{
    store(GetParam().values);
    const auto faces = controller_.load_limitation_faces();
    EXPECT_EQ(periods_of(faces->find_definition(face_member)), GetParam().member);
    EXPECT_EQ(periods_of(faces->find_definition(face_company)), GetParam().company);
    EXPECT_EQ(periods_of(controller_.read_member_limitation()), GetParam().member);
    EXPECT_EQ(periods_of(controller_.read_company_limitation()), GetParam().company);
    EXPECT_EQ(controller_.read_member_limitation()->get_face_type(), face_member);
    EXPECT_EQ(controller_.read_company_limitation()->get_face_type(), face_company);
}

INSTANTIATE_TEST_SUITE_P(
    cases, register_controller_reads,
    ::testing::Values(
        stored_case{"member_only", {{"MemberLargeSize", "3"}, {"MemberVeryLargeSize", "6"}}, {3, 6}, {0, 0}},
        stored_case{"negative_company",
                    {{"CompanyLargeSize", "-2"}, {"CompanyVeryLargeSize", "15"}},
                    {0, 0},
                    {-2, 15}},
        stored_case{"not_numbers",
                    {{"MemberLargeSize", "abc"},
                     {"MemberVeryLargeSize", "5 лет"},
                     {"CompanyLargeSize", ""},
                     {"CompanyVeryLargeSize", "99999999999"}},
                    {0, 0},
                    {0, 0}},
        stored_case{"blanks_around", {{"MemberLargeSize", " 7 "}, {"CompanyVeryLargeSize", "+4"}}, {7, 0}, {0, 4}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(register_controller_test, a_number_value_makes_loading_fail)
{
    store({{"MemberVeryLargeSize", "6"}});
    {
        auto access = open(registry_root_key::current_user);
        ASSERT_TRUE(access->open_key(limitation_key, false));
        access->write_integer("MemberLargeSize", 3);
    }
    EXPECT_THROW(controller_.load_limitation_faces(), registry_invalid_type_error);
    EXPECT_THROW(controller_.read_member_limitation(), registry_invalid_type_error);
    EXPECT_EQ(periods_of(controller_.read_company_limitation()), (periods{0, 0}));
}

TEST_F(register_controller_test, saving_writes_text_of_one_category_only)
{
    store({{"CompanyLargeSize", "4"}, {"CompanyVeryLargeSize", "8"}});
    controller_.save_member_limitation(5, 10);

    auto access = open(registry_root_key::current_user);
    ASSERT_TRUE(access->open_key(limitation_key, false));
    EXPECT_EQ(access->get_data_type("MemberLargeSize"), registry_data_type::string);
    EXPECT_EQ(access->get_data_type("MemberVeryLargeSize"), registry_data_type::string);
    EXPECT_EQ(access->read_string("MemberLargeSize"), "5");
    EXPECT_EQ(access->read_string("MemberVeryLargeSize"), "10");
    EXPECT_EQ(access->read_string("CompanyLargeSize"), "4");
    EXPECT_EQ(access->read_string("CompanyVeryLargeSize"), "8");

    controller_.save_company_limitation(-2, 0);
    EXPECT_EQ(access->read_string("CompanyLargeSize"), "-2");
    EXPECT_EQ(access->read_string("CompanyVeryLargeSize"), "0");
    EXPECT_EQ(access->read_string("MemberLargeSize"), "5");

    const auto faces = controller_.load_limitation_faces();
    EXPECT_EQ(periods_of(faces->find_definition(face_member)), (periods{5, 10}));
    EXPECT_EQ(periods_of(faces->find_definition(face_company)), (periods{-2, 0}));
}

// Passes everything to the real registry but fails the write numbered
// `failing_write` (from 1), as a denied or broken registry would.
class failing_access final : public registry_access_interface {
public:
    failing_access(std::unique_ptr<registry_access_interface> real, int& writes, int failing_write)
        : real_(std::move(real)), writes_(writes), failing_write_(failing_write)
    {
    }
    registry_root_key root() const override { return real_->root(); }
    bool open_key(const std::string& path, bool can_create) override { return real_->open_key(path, can_create); }
    void close_key() override { real_->close_key(); }
    bool key_exists(const std::string& path) const override { return real_->key_exists(path); }
    std::vector<std::string> get_key_names() const override { return real_->get_key_names(); }
    std::vector<std::string> get_value_names() const override { return real_->get_value_names(); }
    registry_data_type get_data_type(const std::string& name) const override { return real_->get_data_type(name); }
    std::string read_string(const std::string& name) const override { return real_->read_string(name); }
    void write_string(const std::string& name, const std::string& value) override
    {
        if (++writes_ == failing_write_)
            throw registry_error("Отказано в доступе");
        real_->write_string(name, value);
    }
    void write_integer(const std::string& name, std::uint32_t value) override { real_->write_integer(name, value); }
    bool delete_key(const std::string& path) override { return real_->delete_key(path); }

private:
    std::unique_ptr<registry_access_interface> real_;
    int& writes_;
    int failing_write_;
};

class failing_provider final : public registry_provider_interface {
public:
    failing_provider(std::shared_ptr<registry_provider_interface> real, int failing_write)
        : real_(std::move(real)), failing_write_(failing_write)
    {
    }
    std::unique_ptr<registry_access_interface> open(registry_root_key root) const override
    {
        return std::make_unique<failing_access>(real_->open(root), writes_, failing_write_);
    }

private:
    std::shared_ptr<registry_provider_interface> real_;
    mutable int writes_ = 0;
    int failing_write_;
};

struct failure_case {
    const char* name;
    void (*operation)(const register_controller_class&);
    int failing_write;
    const char* message;
    std::map<std::string, std::string> kept; // path|value -> text left in place
};

void PrintTo(const failure_case& value, std::ostream* out)
{
    *out << value.name;
}

class register_controller_failures : public register_controller_test,
                                     public ::testing::WithParamInterface<failure_case> {};

TEST_P(register_controller_failures, report_the_error_and_keep_what_was_written)
{
    const register_controller_class failing(
        std::make_shared<failing_provider>(registry_->provider(), GetParam().failing_write), program_path);
    try {
        GetParam().operation(failing);
        FAIL() << "no error";
    } catch (const registry_error& error) {
        EXPECT_STREQ(error.what(), GetParam().message);
    }
    std::map<std::string, std::string> left;
    for (const auto& [root, path] : {std::pair{registry_root_key::current_user, std::string("Software")},
                                     std::pair{registry_root_key::classes_root, std::string(".kvl")},
                                     std::pair{registry_root_key::classes_root, std::string("Korvalen")}}) {
        for (const auto& [key, value] : dump(root, path)) {
            if (key.find('|') != std::string::npos)
                left[key] = value;
        }
    }
    EXPECT_EQ(left, GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    cases, register_controller_failures,
    ::testing::Values(
        failure_case{"member_second_value",
                     [](const register_controller_class& c) { c.save_member_limitation(5, 10); },
                     2,
                     "Ошибка регистрации сроков давности физ.лица: Отказано в доступе",
                     {{"Software\\Korvalen\\Limitation|MemberLargeSize", "5"}}},
        failure_case{"company_first_value",
                     [](const register_controller_class& c) { c.save_company_limitation(5, 10); },
                     1,
                     "Ошибка регистрации сроков давности юр.лица: Отказано в доступе",
                     {}},
        failure_case{"open_command",
                     [](const register_controller_class& c) { c.register_extension(".kvl"); },
                     3,
                     "Ошибка при регистрации расширения: Отказано в доступе",
                     {{".kvl|", "Korvalen"}, {"Korvalen|", "Velmaris - расчет по ст.ст. 198, 199 УК РФ"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(register_controller_test, registers_the_file_type)
{
    controller_.register_extension(".kvl");

    const std::map<std::string, std::string> expected = {
        {".kvl", ""},
        {".kvl|", "Korvalen"},
        {"Korvalen", ""},
        {"Korvalen|", "Velmaris - расчет по ст.ст. 198, 199 УК РФ"},
        {"Korvalen\\DefaultIcon", ""},
        {"Korvalen\\DefaultIcon|", "C:\\Program Files\\Velmaris\\velmaris.exe, 0"},
        {"Korvalen\\Shell", ""},
        {"Korvalen\\Shell\\Open", ""},
        {"Korvalen\\Shell\\Open\\Command", ""},
        // Quoted: unquoted, a path with blanks could start C:\Program.exe.
        {"Korvalen\\Shell\\Open\\Command|", "\"C:\\Program Files\\Velmaris\\velmaris.exe\" \"%1\""},
    };
    auto registered = dump(registry_root_key::classes_root, ".kvl");
    const auto file_type = dump(registry_root_key::classes_root, "Korvalen");
    registered.insert(file_type.begin(), file_type.end());
    EXPECT_EQ(registered, expected);

    controller_.register_extension(".kvl");
    auto again = dump(registry_root_key::classes_root, ".kvl");
    const auto file_type_again = dump(registry_root_key::classes_root, "Korvalen");
    again.insert(file_type_again.begin(), file_type_again.end());
    EXPECT_EQ(again, expected);

    // Nothing goes to the current user's key.
    EXPECT_FALSE(open(registry_root_key::current_user)->key_exists("Korvalen"));
}

TEST_F(register_controller_test, registering_after_a_move_writes_the_new_path)
{
    controller_.register_extension(".kvl");
    register_controller_class moved(registry_->provider(), "D:\\velmaris.exe");
    moved.register_extension(".kvl");

    auto access = open(registry_root_key::classes_root);
    ASSERT_TRUE(access->open_key("\\Korvalen\\Shell\\Open\\Command", false));
    EXPECT_EQ(access->read_string(""), "\"D:\\velmaris.exe\" \"%1\"");
    ASSERT_TRUE(access->open_key("\\Korvalen\\DefaultIcon", false));
    EXPECT_EQ(access->read_string(""), "D:\\velmaris.exe, 0");
}

TEST_F(register_controller_test, unregistering_removes_both_keys_with_what_others_put_there)
{
    controller_.register_extension(".kvl");
    {
        auto access = open(registry_root_key::classes_root);
        ASSERT_TRUE(access->open_key(".kvl\\ShellNew", true));
        access->write_string("NullFile", "");
        ASSERT_TRUE(access->open_key("Korvalen\\Shell\\Print", true));
        ASSERT_TRUE(access->open_key(".kvlx", true));
    }

    controller_.unregister_extension(".kvl");
    auto access = open(registry_root_key::classes_root);
    EXPECT_FALSE(access->key_exists(".kvl"));
    EXPECT_FALSE(access->key_exists("Korvalen"));
    EXPECT_TRUE(access->key_exists(".kvlx"));

    // Nothing left to remove: no error either.
    EXPECT_NO_THROW(controller_.unregister_extension(".kvl"));
}

TEST_F(register_controller_test, refuses_extensions_that_name_other_keys)
{
    for (const char* extension : {"", "kvl", ".", "\\", ".kvl\\Shell"}) {
        SCOPED_TRACE(extension);
        try {
            controller_.unregister_extension(extension);
            FAIL() << "no error";
        } catch (const registry_error& error) {
            EXPECT_EQ(std::string(error.what()).rfind("Ошибка при удалении регистрации: ", 0), 0u) << error.what();
        }
        try {
            controller_.register_extension(extension);
            FAIL() << "no error";
        } catch (const registry_error& error) {
            EXPECT_EQ(std::string(error.what()).rfind("Ошибка при регистрации расширения: ", 0), 0u) << error.what();
        }
    }
}

TEST(register_controller_instance, is_installed_once_for_the_program)
{
    set_register_controller(nullptr);
    EXPECT_THROW(register_controller(), std::logic_error);
    auto registry = make_test_registry();
    auto controller = std::make_unique<register_controller_class>(registry->provider(), program_path);
    const auto* installed = controller.get();
    set_register_controller(std::move(controller));
    EXPECT_EQ(&register_controller(), installed);
    set_register_controller(nullptr);
}

} // namespace
