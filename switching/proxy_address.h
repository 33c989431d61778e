#pragma once

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

} // namespace switching
