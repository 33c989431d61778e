#pragma once

#include "platform/win_error.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {

constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
constexpr std::uint32_t kKeyRead = 0x20019;
constexpr std::uint32_t kKeyWrite = 0x20006;

// The current user's registry hive, reached the way RegCreateKeyExW,
// RegSetValueExW, RegQueryValueExW and RegCloseKey reach it. Key paths are
// relative to the hive, segments separated by backslashes; names compare
// without regard to letter case. Value data is raw bytes: REG_SZ as UTF-16LE
// with its terminating NUL, REG_DWORD as four little-endian bytes.
class Registry {
public:
    using Key = std::uintptr_t;
    static constexpr Key kNoKey = 0;

    virtual ~Registry() = default;

    // Opens the key, creating it (non-volatile, no class) when it is missing.
    virtual WinError CreateKey(std::string_view subKey, std::uint32_t access, Key* key) = 0;
    virtual WinError SetValue(Key key, std::string_view name, std::uint32_t type,
                              const std::vector<std::uint8_t>& data) = 0;
    // ERROR_FILE_NOT_FOUND when the value does not exist.
    virtual WinError QueryValue(Key key, std::string_view name, std::uint32_t* type,
                                std::vector<std::uint8_t>* data) = 0;
    // ERROR_FILE_NOT_FOUND when the value does not exist.
    virtual WinError DeleteValue(Key key, std::string_view name) = 0;
    virtual void CloseKey(Key key) = 0;
};

// The platform's own current-user hive (on Linux a hive file of ours).
Registry& CurrentUserRegistry();

std::vector<std::uint8_t> RegSzData(std::string_view utf8);
std::vector<std::uint8_t> RegDwordData(std::uint32_t value);

} // namespace platform
