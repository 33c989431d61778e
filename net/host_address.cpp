#include "net/host_address.h"

#include "net/ascii_text.h"
#include "platform/idna.h"
#include "platform/socket.h"

namespace net {

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;

} // namespace

std::optional<std::uint32_t> ParseIpv4Address(std::string_view text)
{
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (text.empty() || text.front() != '.')
                return std::nullopt;
            text.remove_prefix(1);
        }
        std::size_t digits = 0;
        unsigned value = 0;
        while (digits < text.size() && digits < 4 && text[digits] >= '0' && text[digits] <= '9') {
            value = value * 10 + static_cast<unsigned>(text[digits] - '0');
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255)
            return std::nullopt;
        text.remove_prefix(digits);
        address = (address << 8) | value;
    }
    if (!text.empty())
        return std::nullopt;
    return address;
}

std::uint32_t ResolveHostAddress(const std::string& host)
{
    if (const auto address = ParseIpv4Address(host))
        return *address;
    if (EqualsIgnoreAsciiCase(host, "LOCALHOST"))
        return kLoopback;
    const auto ascii = platform::HostNameToAscii(host);
    if (!ascii)
        throw platform::SocketError(platform::kWsaHostNotFound);
    return platform::ResolveIpv4(*ascii);
}

} // namespace net
