#pragma once

#include "platform/posix/desktop_proxy.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// KDE's proxy configuration text with the [Proxy Settings] keys of the proxy
// set (ProxyType, httpProxy, httpsProxy), or with ProxyType 0 without one.
// Every other line stays byte for byte; missing keys go after the group's
// last key, a missing group at the end.
std::string RewriteKioslaverc(std::string_view text, const std::optional<ProxyAddress>& proxy);

// Rewrites the user's kioslaverc where it exists or a KDE session runs; true
// when it was written. Throws FileError.
bool UpdateKioslaverc(const std::optional<ProxyAddress>& proxy);

} // namespace platform
