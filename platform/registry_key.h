#pragma once

#include "platform/registry.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

// A registry value that could not be written or read as asked:
// "Failed to set data for 'NAME'", "Invalid data type for 'NAME'".
class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One key of the current user's hive, opened for one access and closed when
// the object goes. Opening never throws: a key that could not be opened or
// created reads as holding no values and fails every write.
class RegistryKey {
public:
    RegistryKey(Registry& registry, std::string_view subKey, std::uint32_t access);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool IsOpen() const { return key_ != Registry::kNoKey; }

    bool ValueExists(std::string_view name);
    // REG_SZ or REG_EXPAND_SZ, cut at the first NUL; an empty value reads as
    // empty text. Any other type throws ERegistryException.
    std::string ReadString(std::string_view name);
    void WriteString(std::string_view name, std::string_view value);
    void WriteInteger(std::string_view name, std::uint32_t value);
    void WriteValue(std::string_view name, std::uint32_t type,
                    const std::vector<std::uint8_t>& data);
    // A value that is not there counts as deleted.
    void DeleteValue(std::string_view name);

private:
    Registry& registry_;
    Registry::Key key_ = Registry::kNoKey;
};

} // namespace platform
