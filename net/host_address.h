#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace net {

// A dotted IPv4 address of four decimal numbers up to 255, in host byte
// order; none for anything else.
std::optional<std::uint32_t> ParseIpv4Address(std::string_view text);

// The address to connect to: an IPv4 address as it is, "LOCALHOST" in any
// case as 127.0.0.1, any other name turned into its ASCII form and resolved
// by the system. Throws platform::SocketError.
std::uint32_t ResolveHostAddress(const std::string& host);

} // namespace net
