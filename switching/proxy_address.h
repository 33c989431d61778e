#pragma once

#include "platform/proxy_settings.h"

#include <optional>
#include <string>
#include <string_view>

namespace switching {

// The host and port texts of a proxy entry: its first and second
// ":"-separated pieces, each empty when missing.
struct ProxyAddress {
    std::string host;
    std::string port;
};

// Empty pieces before and between colons count, a trailing empty piece does
// not, and pieces after the second are ignored.
ProxyAddress SplitProxyEntry(std::string_view entry);

// The server that the probes of the address connect to, as the system proxy
// names it: the host's ASCII form and the port as a number. None where no
// system setting could name it (a port outside 1 to 65535 included), so what
// passes the check is exactly what is applied.
std::optional<platform::ProxyServer> ServerToApply(const ProxyAddress& address);

} // namespace switching
