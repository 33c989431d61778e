#include "switching/exit_address.h"

#include "net/host_address.h"
#include "platform/text_case.h"

namespace switching {

namespace {

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Groups of up to four hex digits between colons, at most one "::", and an
// IPv4 address in place of the last two groups.
bool IsIpv6Text(std::string_view text)
{
    const std::size_t compressed = text.find("::");
    if (compressed != std::string_view::npos &&
        text.find("::", compressed + 1) != std::string_view::npos)
        return false;
    int groups = 0;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t colon = std::min(text.find(':', at), text.size());
        const std::string_view group = text.substr(at, colon - at);
        if (colon == text.size() && group.find('.') != std::string_view::npos) {
            if (!net::ParseIpv4Address(group))
                return false;
            groups += 2;
        } else if (!group.empty()) {
            if (group.size() > 4)
                return false;
            for (const char c : group) {
                if (!IsHexDigit(c))
                    return false;
            }
            ++groups;
        }
        at = colon + 1;
    }
    const bool hasColon = text.find(':') != std::string_view::npos;
    return hasColon && (compressed != std::string_view::npos ? groups < 8 : groups == 8);
}

} // namespace

bool IsAddressText(std::string_view text)
{
    text = Trimmed(text);
    if (text.empty())
        return false;
    if (text.find(':') != std::string_view::npos)
        return IsIpv6Text(text);
    return net::ParseIpv4Address(text).has_value();
}

ExitAddress JudgeExitAddress(std::string_view reported, std::string_view own)
{
    if (!IsAddressText(reported))
        return ExitAddress::kNotAnAddress;
    return platform::EqualsIgnoreCase(Trimmed(reported), Trimmed(own)) ? ExitAddress::kUsersOwn
                                                                       : ExitAddress::kOther;
}

} // namespace switching
