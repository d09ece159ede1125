// What only the system registry can hold: data written by other programs
// without our layer's care.
#include "registry.h"
#include "test_registry.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

class win32_registry : public ::testing::Test {
protected:
    // Raw data under HKEY_CURRENT_USER\Software\Korvalen\Raw (the test's
    // scratch key stands in for HKEY_CURRENT_USER).
    void put(const wchar_t* name, DWORD type, const void* data, DWORD size)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Korvalen\\Raw", 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }

    std::unique_ptr<registry_access_interface> raw_key() const
    {
        auto access = registry_->provider()->open(registry_root_key::current_user);
        EXPECT_TRUE(access->open_key("Software\\Korvalen\\Raw", true));
        return access;
    }

    std::unique_ptr<test_registry> registry_ = make_test_registry();
};

TEST_F(win32_registry, reads_strings_however_they_were_stored)
{
    const std::wstring expand = L"%SystemRoot%\\Кириллица";
    put(L"Expand", REG_EXPAND_SZ, expand.c_str(), static_cast<DWORD>((expand.size() + 1) * sizeof(wchar_t)));
    put(L"NoNull", REG_SZ, L"12345", 5 * sizeof(wchar_t));
    put(L"OddSize", REG_SZ, L"12", 3);
    put(L"TwoNulls", REG_SZ, L"7\0\0", 3 * sizeof(wchar_t));
    put(L"Empty", REG_SZ, L"", 0);
    const std::wstring long_text(10000, L'ж');
    put(L"Long", REG_SZ, long_text.c_str(), static_cast<DWORD>(long_text.size() * sizeof(wchar_t)));

    const auto access = raw_key();
    EXPECT_EQ(access->read_string("Expand"), "%SystemRoot%\\Кириллица"); // not expanded
    EXPECT_EQ(access->get_data_type("Expand"), registry_data_type::expand_string);
    EXPECT_EQ(access->read_string("NoNull"), "12345");
    EXPECT_EQ(access->read_string("OddSize"), "1");
    EXPECT_EQ(access->read_string("TwoNulls"), "7");
    EXPECT_EQ(access->read_string("Empty"), "");
    std::string expected_long;
    for (int i = 0; i < 10000; ++i)
        expected_long += "ж";
    EXPECT_EQ(access->read_string("Long"), expected_long);
}

TEST_F(win32_registry, refuses_other_kinds_of_data_as_text)
{
    const DWORD number = 3;
    const unsigned char bytes[] = {0x33, 0x00};
    const wchar_t multi[] = L"3\0\0";
    put(L"Number", REG_DWORD, &number, sizeof number);
    put(L"Binary", REG_BINARY, bytes, sizeof bytes);
    put(L"Multi", REG_MULTI_SZ, multi, sizeof multi);

    const auto access = raw_key();
    for (const char* name : {"Number", "Binary", "Multi"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(access->read_string(name), registry_invalid_type_error);
    }
    EXPECT_EQ(access->get_data_type("Binary"), registry_data_type::other);
}

TEST_F(win32_registry, writes_text_with_its_terminating_null)
{
    auto access = raw_key();
    access->write_string("Value", "Ёж");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Korvalen\\Raw", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0;
    wchar_t data[8] = {};
    DWORD size = sizeof data;
    EXPECT_EQ(RegQueryValueExW(key, L"Value", nullptr, &type, reinterpret_cast<BYTE*>(data), &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 3 * sizeof(wchar_t));
    EXPECT_EQ(std::wstring(data), L"Ёж");
}

} // namespace
