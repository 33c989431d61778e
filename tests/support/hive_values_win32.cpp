#include "tests/support/hive_values_win32.h"

#include <windows.h>

namespace test_support {

namespace {

struct ProgramValue {
    const wchar_t* key;
    const wchar_t* name;
};

constexpr ProgramValue kProgramValues[] = {
    {L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", L"ProxyServer"},
    {L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", L"ProxyEnable"},
    {L"Software\\Kelbrin\\Hopvane", L"Lang"},
};

void DeleteValue(const std::wstring& key, const std::wstring& name)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(opened, name.c_str());
    RegCloseKey(opened);
}

} // namespace

SetAsideHiveValues::SetAsideHiveValues()
{
    for (const ProgramValue& value : kProgramValues) {
        Saved saved{value.key, value.name, std::nullopt, {}};
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, value.key, 0, KEY_QUERY_VALUE, &key) ==
            ERROR_SUCCESS) {
            DWORD type = REG_NONE;
            DWORD size = 0;
            if (RegQueryValueExW(key, value.name, nullptr, &type, nullptr, &size) ==
                ERROR_SUCCESS) {
                saved.data.resize(size);
                if (RegQueryValueExW(key, value.name, nullptr, &type, saved.data.data(), &size) ==
                    ERROR_SUCCESS) {
                    saved.data.resize(size);
                    saved.type = type;
                }
            }
            RegCloseKey(key);
        }
        DeleteValue(saved.key, saved.name);
        saved_.push_back(std::move(saved));
    }
}

SetAsideHiveValues::~SetAsideHiveValues()
{
    for (const Saved& saved : saved_) {
        DeleteValue(saved.key, saved.name);
        if (!saved.type)
            continue;
        RegSetKeyValueW(HKEY_CURRENT_USER, saved.key.c_str(), saved.name.c_str(), *saved.type,
                        saved.data.data(), static_cast<DWORD>(saved.data.size()));
    }
}

} // namespace test_support
