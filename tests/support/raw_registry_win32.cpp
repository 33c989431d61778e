#include "tests/support/raw_registry_win32.h"

namespace test_support {

RawValue ReadRawValue(const wchar_t* subKey, const wchar_t* name)
{
    RawValue value;
    HKEY key = nullptr;
    value.result = RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, KEY_QUERY_VALUE, &key);
    if (value.result != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    value.result = RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size);
    if (value.result == ERROR_SUCCESS) {
        value.data.resize(size);
        value.result = RegQueryValueExW(key, name, nullptr, &value.type, value.data.data(), &size);
    }
    RegCloseKey(key);
    return value;
}

} // namespace test_support
