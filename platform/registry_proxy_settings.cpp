#include "platform/registry_proxy_settings.h"

#include "platform/registry_key.h"

#include <cstdio>

namespace platform {

namespace {

constexpr char kProxyServer[] = "ProxyServer";
constexpr char kProxyEnable[] = "ProxyEnable";

std::string ValueText(std::uint32_t type, const std::vector<std::uint8_t>& data)
{
    std::string text = std::to_string(type) + ":";
    for (const std::uint8_t byte : data) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", byte);
        text += digits;
    }
    return text;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Throws ERegistryException for text that ValueText never makes: the note it
// came from was changed by hand.
void ParseValueText(std::string_view name, const std::string& text, std::uint32_t* type,
                    std::vector<std::uint8_t>* data)
{
    const std::size_t colon = text.find(':');
    const std::string_view hex = std::string_view(text).substr(colon + 1);
    std::uint32_t parsedType = 0;
    bool valid = colon != std::string::npos && colon > 0 && colon <= 10 && hex.size() % 2 == 0;
    for (std::size_t i = 0; valid && i < colon; ++i) {
        valid = text[i] >= '0' && text[i] <= '9';
        parsedType = parsedType * 10 + static_cast<std::uint32_t>(text[i] - '0');
    }
    for (std::size_t i = 0; valid && i < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]);
        const int low = HexDigit(hex[i + 1]);
        valid = high >= 0 && low >= 0;
        data->push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    if (!valid)
        throw ERegistryException("Failed to set data for '" + std::string(name) + "'");
    *type = parsedType;
}

ProxyValue ReadValue(Registry& registry, Registry::Key key, const char* name)
{
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
    if (registry.QueryValue(key, name, &type, &data) != kErrorSuccess)
        return std::nullopt;
    return ValueText(type, data);
}

} // namespace

ProxyValues RegistryProxySettings::Read()
{
    ProxyValues values{{kProxyServer, std::nullopt}, {kProxyEnable, std::nullopt}};
    Registry::Key key = Registry::kNoKey;
    if (registry_.CreateKey(kInternetSettingsKey, kKeyRead, &key) == kErrorSuccess) {
        values[0].second = ReadValue(registry_, key, kProxyServer);
        values[1].second = ReadValue(registry_, key, kProxyEnable);
        registry_.CloseKey(key);
    }
    // No ProxyEnable means off; putting it back writes the 0 that a switch-off
    // has always left.
    if (!values[1].second)
        values[1].second = ValueText(kRegDword, RegDwordData(0));
    return values;
}

ProxyValues RegistryProxySettings::ValuesFor(const ProxyServer& server) const
{
    return {{kProxyServer, ValueText(kRegSz, RegSzData(server.Text()))},
            {kProxyEnable, ValueText(kRegDword, RegDwordData(1))}};
}

ProxyValues RegistryProxySettings::SwitchedOff(const ProxyValues&,
                                               const std::optional<ProxyServer>&) const
{
    return {{kProxyEnable, ValueText(kRegDword, RegDwordData(0))}};
}

void RegistryProxySettings::Write(const ProxyValues& values)
{
    {
        RegistryKey key(registry_, kInternetSettingsKey, kKeyWrite);
        if (key.IsOpen()) {
            for (const auto& [name, value] : values) {
                if (value) {
                    std::uint32_t type = kRegNone;
                    std::vector<std::uint8_t> data;
                    ParseValueText(name, *value, &type, &data);
                    key.WriteValue(name, type, data);
                } else {
                    key.DeleteValue(name);
                }
            }
        }
    }
    internetSettings_.NotifySettingsChanged();
}

} // namespace platform
