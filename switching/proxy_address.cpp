#include "switching/proxy_address.h"

#include "platform/idna.h"
#include "platform/text_integer.h"

namespace switching {

ProxyAddress SplitProxyEntry(std::string_view entry)
{
    ProxyAddress address;
    const auto colon = entry.find(':');
    address.host = std::string(entry.substr(0, colon));
    if (colon != std::string_view::npos) {
        const std::string_view rest = entry.substr(colon + 1);
        address.port = std::string(rest.substr(0, rest.find(':')));
    }
    return address;
}

std::optional<platform::ProxyServer> ServerToApply(const ProxyAddress& address)
{
    const std::optional<std::int32_t> port = platform::TextToInteger(address.port);
    if (!port || *port < 1 || *port > 65535)
        return std::nullopt;
    const std::optional<std::string> host = platform::HostNameToAscii(address.host);
    if (!host)
        return std::nullopt;
    return platform::MakeProxyServer(*host, static_cast<std::uint16_t>(*port));
}

} // namespace switching
