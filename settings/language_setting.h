#pragma once

#include "platform/registry.h"

#include <optional>
#include <string>

namespace settings {

// The stored interface language: "Lang" under "Software\Kelbrin\Hopvane\"
// in the current user's hive. A start without a stored value stores "en".
// Registry failures escape as platform::ERegistryException.
std::string ReadLanguageSetting(platform::Registry& registry);

// "Czech" for exactly "cz", "English" for exactly "en", nothing otherwise.
std::optional<std::string> LanguageNameForSetting(const std::string& setting);

} // namespace settings
