#include "settings/language_setting.h"

#include "platform/registry_key.h"

namespace settings {

namespace {

constexpr const char* kLanguageKey = "Software\\Kelbrin\\Hopvane\\";
constexpr const char* kLangValue = "Lang";
constexpr const char* kDefaultSetting = "en";

} // namespace

std::string ReadLanguageSetting(platform::Registry& registry)
{
    std::string setting = kDefaultSetting;
    // A key that can neither be opened nor created shows up as the failing
    // write of the default below.
    platform::RegistryKey key(registry, kLanguageKey, platform::kKeyRead | platform::kKeyWrite);
    if (key.ValueExists(kLangValue))
        setting = key.ReadString(kLangValue);
    else
        key.WriteString(kLangValue, kDefaultSetting);
    return setting;
}

std::optional<std::string> LanguageNameForSetting(const std::string& setting)
{
    if (setting == "cz")
        return "Czech";
    if (setting == "en")
        return "English";
    return std::nullopt;
}

} // namespace settings
