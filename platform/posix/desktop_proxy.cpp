#include "platform/posix/desktop_proxy.h"

namespace platform {

namespace {

bool IsHostCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

std::optional<std::uint16_t> ParsePort(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    std::uint32_t port = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        port = port * 10 + static_cast<std::uint32_t>(c - '0');
        if (port > 65535)
            return std::nullopt;
    }
    if (port == 0)
        return std::nullopt;
    return static_cast<std::uint16_t>(port);
}

} // namespace

std::optional<ProxyAddress> SplitProxyEntry(std::string_view entry)
{
    const std::size_t colon = entry.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return std::nullopt;
    const std::string_view host = entry.substr(0, colon);
    for (const char c : host) {
        if (!IsHostCharacter(c))
            return std::nullopt;
    }
    const std::optional<std::uint16_t> port = ParsePort(entry.substr(colon + 1));
    if (!port)
        return std::nullopt;
    return ProxyAddress{std::string(host), *port};
}

} // namespace platform
