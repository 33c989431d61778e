#include "switching/proxy_address.h"

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

} // namespace switching
