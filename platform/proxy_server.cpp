#include "platform/proxy_settings.h"

namespace platform {

namespace {

bool IsHostCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

} // namespace

std::string ProxyServer::Text() const
{
    return host + ":" + std::to_string(port);
}

std::optional<ProxyServer> MakeProxyServer(std::string_view host, std::uint16_t port)
{
    if (host.empty() || port == 0)
        return std::nullopt;
    for (const char c : host) {
        if (!IsHostCharacter(c))
            return std::nullopt;
    }
    return ProxyServer{std::string(host), port};
}

std::optional<ProxyServer> ParseProxyServer(std::string_view text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const std::string_view digits = text.substr(colon + 1);
    if (digits.empty() || digits.size() > 5)
        return std::nullopt;
    std::uint32_t port = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        port = port * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (port > 65535)
        return std::nullopt;
    return MakeProxyServer(text.substr(0, colon), static_cast<std::uint16_t>(port));
}

ProxyValue ValueOf(const ProxyValues& values, std::string_view key)
{
    for (const auto& [name, value] : values) {
        if (name == key)
            return value;
    }
    return std::nullopt;
}

} // namespace platform
