#pragma once

#include <optional>
#include <string>

namespace platform {

// The folder separator of the platform's paths ("\" on Windows, "/" elsewhere).
char PathSeparator();

std::optional<std::string> EnvironmentValue(const std::string& name);

// The value of APPDATA. Where it is unset, Windows gives empty text; other
// systems use their per-user data folder ($XDG_DATA_HOME, else ~/.local/share).
std::string AppDataFolder();

// The value of TEMP, which Windows keeps per user. Elsewhere, where no TEMP
// is set, a folder of the user's own: $XDG_RUNTIME_DIR, else
// $XDG_CACHE_HOME/hopvane (or ~/.cache/hopvane), made when missing.
std::string TempFolder();

// The application-data folder followed by "Hopvane" and a separator.
std::string DataFolder();

// The per-user folder for the stand-ins of Windows services
// ($XDG_CONFIG_HOME/hopvane, else ~/.config/hopvane); unused on Windows.
std::string ServiceStateFolder();

// The per-session folder for named objects ($XDG_RUNTIME_DIR/hopvane, else a
// private folder under /tmp); unused on Windows.
std::string RuntimeFolder();

// The running executable's full path.
std::string ExecutablePath();

} // namespace platform
