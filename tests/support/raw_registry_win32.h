#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace test_support {

// A value of the current user's hive as another program reads it, straight
// from the system rather than through the platform layer under test.
struct RawValue {
    LSTATUS result = ERROR_SUCCESS;
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
};

RawValue ReadRawValue(const wchar_t* subKey, const wchar_t* name);

} // namespace test_support
