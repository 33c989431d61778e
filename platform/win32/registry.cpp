#include "platform/registry.h"

#include "platform/win32/wide_text.h"

#include <windows.h>

namespace platform {

namespace {

HKEY NativeKey(Registry::Key key)
{
    return reinterpret_cast<HKEY>(key);
}

class CurrentUserHive final : public Registry {
public:
    WinError CreateKey(std::string_view subKey, std::uint32_t access, Key* key) override
    {
        HKEY opened = nullptr;
        const LSTATUS result =
            RegCreateKeyExW(HKEY_CURRENT_USER, win32::ToWide(subKey).c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, access, nullptr, &opened, nullptr);
        *key = result == ERROR_SUCCESS ? reinterpret_cast<Key>(opened) : kNoKey;
        return result;
    }

    WinError SetValue(Key key, std::string_view name, std::uint32_t type,
                      const std::vector<std::uint8_t>& data) override
    {
        return RegSetValueExW(NativeKey(key), win32::ToWide(name).c_str(), 0, type, data.data(),
                              static_cast<DWORD>(data.size()));
    }

    WinError QueryValue(Key key, std::string_view name, std::uint32_t* type,
                        std::vector<std::uint8_t>* data) override
    {
        const std::wstring wideName = win32::ToWide(name);
        DWORD valueType = REG_NONE;
        DWORD size = 0;
        LSTATUS result =
            RegQueryValueExW(NativeKey(key), wideName.c_str(), nullptr, &valueType, nullptr, &size);
        // The value may grow between asking its size and reading it.
        while (result == ERROR_SUCCESS && data) {
            data->resize(size);
            result = RegQueryValueExW(NativeKey(key), wideName.c_str(), nullptr, &valueType,
                                      data->data(), &size);
            if (result == ERROR_SUCCESS) {
                data->resize(size);
                break;
            }
            if (result == ERROR_MORE_DATA)
                result = ERROR_SUCCESS;
        }
        if (result == ERROR_SUCCESS && type)
            *type = valueType;
        return result;
    }

    WinError DeleteValue(Key key, std::string_view name) override
    {
        return RegDeleteValueW(NativeKey(key), win32::ToWide(name).c_str());
    }

    void CloseKey(Key key) override { RegCloseKey(NativeKey(key)); }
};

} // namespace

Registry& CurrentUserRegistry()
{
    static CurrentUserHive hive;
    return hive;
}

} // namespace platform
