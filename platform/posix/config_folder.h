#pragma once

#include <string>

namespace platform {

// The user's configuration folder: $XDG_CONFIG_HOME, else ~/.config.
std::string ConfigFolder();

} // namespace platform
