#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct ProxyAddress {
    std::string host;
    std::uint16_t port = 0;
};

// "HOST:PORT" as the program stores it. The host is limited to the letters,
// digits and ".-_" of host names and addresses: the text comes from the
// network and ends up in other programs' configuration.
std::optional<ProxyAddress> SplitProxyEntry(std::string_view entry);

// Point the desktop's proxy at the address, or switch it off without one.
// Each does nothing where its desktop is absent; errors of the desktop's own
// services are ignored.
void ApplyGnomeProxy(const std::optional<ProxyAddress>& proxy);
void ApplyKdeProxy(const std::optional<ProxyAddress>& proxy);

} // namespace platform
