#include "platform/registry_key.h"

#include "platform/text_codec.h"

namespace platform {

RegistryKey::RegistryKey(Registry& registry, std::string_view subKey, std::uint32_t access)
    : registry_(registry)
{
    if (registry_.CreateKey(subKey, access, &key_) != kErrorSuccess)
        key_ = Registry::kNoKey;
}

RegistryKey::~RegistryKey()
{
    if (IsOpen())
        registry_.CloseKey(key_);
}

bool RegistryKey::ValueExists(std::string_view name)
{
    if (!IsOpen())
        return false;
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
    return registry_.QueryValue(key_, name, &type, &data) == kErrorSuccess;
}

std::string RegistryKey::ReadString(std::string_view name)
{
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
    const WinError result =
        IsOpen() ? registry_.QueryValue(key_, name, &type, &data) : kErrorInvalidHandle;
    if (result != kErrorSuccess)
        return {};
    if (type != kRegSz && type != kRegExpandSz)
        throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
    std::u16string units;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2)
        units += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    const auto nul = units.find(u'\0');
    if (nul != std::u16string::npos)
        units.resize(nul);
    return Utf16ToUtf8(units);
}

void RegistryKey::WriteString(std::string_view name, std::string_view value)
{
    WriteValue(name, kRegSz, RegSzData(value));
}

void RegistryKey::WriteInteger(std::string_view name, std::uint32_t value)
{
    WriteValue(name, kRegDword, RegDwordData(value));
}

void RegistryKey::WriteValue(std::string_view name, std::uint32_t type,
                             const std::vector<std::uint8_t>& data)
{
    const WinError result =
        IsOpen() ? registry_.SetValue(key_, name, type, data) : kErrorInvalidHandle;
    if (result != kErrorSuccess)
        throw ERegistryException("Failed to set data for '" + std::string(name) + "'");
}

void RegistryKey::DeleteValue(std::string_view name)
{
    const WinError result = IsOpen() ? registry_.DeleteValue(key_, name) : kErrorInvalidHandle;
    if (result != kErrorSuccess && result != kErrorFileNotFound)
        throw ERegistryException("Failed to set data for '" + std::string(name) + "'");
}

} // namespace platform
