#include "test_registry.h"

#include "registry_win32.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <stdexcept>

namespace {

// Scratch keys stand in for HKEY_CURRENT_USER and HKEY_CLASSES_ROOT: the
// system maps the predefined keys onto them for this process, so the code
// under test runs unchanged and a developer's own settings and file types
// stay untouched.
const std::wstring scratch_root = L"Software\\Velmaris tests\\";

HKEY create_scratch(const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the scratch key");
    return key;
}

void redirect_roots(const std::wstring& scratch)
{
    HKEY user = create_scratch(scratch + L"\\HKCU");
    HKEY classes = create_scratch(scratch + L"\\HKCR");
    const bool redirected = RegOverridePredefKey(HKEY_CURRENT_USER, user) == ERROR_SUCCESS
        && RegOverridePredefKey(HKEY_CLASSES_ROOT, classes) == ERROR_SUCCESS;
    RegCloseKey(user);
    RegCloseKey(classes);
    if (!redirected)
        throw std::runtime_error("cannot redirect the root keys");
}

// Goes only once no test's scratch key is left in it.
void remove_scratch_root()
{
    RegDeleteKeyW(HKEY_CURRENT_USER, scratch_root.substr(0, scratch_root.size() - 1).c_str());
}

void restore_roots()
{
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
}

class win32_test_registry final : public test_registry {
public:
    win32_test_registry()
        : scratch_(scratch_root + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count_))
    {
        redirect_roots(scratch_);
    }

    ~win32_test_registry() override
    {
        restore_roots();
        RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
        remove_scratch_root();
    }

    std::shared_ptr<registry_provider_interface> provider() const override { return provider_; }

private:
    static inline int count_ = 0;
    std::wstring scratch_;
    std::shared_ptr<registry_provider_interface> provider_ = make_win32_registry_provider();
};

std::wstring probe_scratch(const std::string& place)
{
    return scratch_root + L"probe " + std::wstring(place.begin(), place.end());
}

} // namespace

std::unique_ptr<test_registry> make_test_registry()
{
    return std::make_unique<win32_test_registry>();
}

std::shared_ptr<registry_provider_interface> open_probe_registry(const std::string& place)
{
    redirect_roots(probe_scratch(place));
    return make_win32_registry_provider();
}

void remove_probe_registry(const std::string& place)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, probe_scratch(place).c_str());
    remove_scratch_root();
}
