#pragma once

#include "platform/registry.h"

#include <cstdint>
#include <vector>

namespace test_support {

// The data of a value of the current user's Internet Settings key; empty
// when the key or the value is missing.
inline std::vector<std::uint8_t> InternetSettingsData(const char* name)
{
    platform::Registry& registry = platform::CurrentUserRegistry();
    platform::Registry::Key key = platform::Registry::kNoKey;
    std::vector<std::uint8_t> data;
    if (registry.CreateKey("Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                           platform::kKeyRead, &key) == platform::kErrorSuccess) {
        std::uint32_t type = 0;
        registry.QueryValue(key, name, &type, &data);
        registry.CloseKey(key);
    }
    return data;
}

} // namespace test_support
