#pragma once

#include <optional>
#include <string>

namespace platform {

// The D-Bus address of the user's session bus, or nothing when there is
// none. Unlike GLib's own lookup it never falls back to autolaunching, which
// starts dbus-launch.
std::optional<std::string> SessionBusAddress();

} // namespace platform
