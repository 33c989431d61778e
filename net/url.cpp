#include "net/url.h"

#include "net/ascii_text.h"
#include "net/error_texts.h"
#include "net/http_error.h"

#include <algorithm>

namespace net {

namespace {

constexpr std::uint16_t kHttpPort = 80;
constexpr std::uint16_t kHttpsPort = 443;

std::uint16_t PortNumber(std::string_view text)
{
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    const unsigned long value = std::stoul(std::string(text));
    return value > 65535 ? 0 : static_cast<std::uint16_t>(value);
}

std::uint16_t DefaultPort(const Url& url)
{
    return url.IsHttps() ? kHttpsPort : kHttpPort;
}

void SplitAuthority(std::string_view authority, Url& url)
{
    const auto at = authority.rfind('@');
    if (at != std::string_view::npos) {
        const std::string_view userPart = authority.substr(0, at);
        const auto colon = userPart.find(':');
        url.user = std::string(userPart.substr(0, colon));
        if (colon != std::string_view::npos)
            url.password = std::string(userPart.substr(colon + 1));
        authority.remove_prefix(at + 1);
    }
    std::string_view portText;
    bool portGiven = false;
    const auto closing = authority.find(']');
    if (!authority.empty() && authority.front() == '[' && closing != std::string_view::npos) {
        url.host = std::string(authority.substr(1, closing - 1));
        url.bracketedHost = true;
        const std::string_view after = authority.substr(closing + 1);
        if (!after.empty() && after.front() == ':') {
            portGiven = true;
            portText = after.substr(1);
        }
    } else {
        const auto colon = authority.find(':');
        url.host = std::string(authority.substr(0, colon));
        if (colon != std::string_view::npos) {
            portGiven = true;
            portText = authority.substr(colon + 1);
        }
    }
    url.port = portGiven && !portText.empty() ? PortNumber(portText) : DefaultPort(url);
}

} // namespace

bool Url::IsHttps() const
{
    return EqualsIgnoreAsciiCase(scheme, "https");
}

bool Url::HasDefaultPort() const
{
    return port == DefaultPort(*this);
}

Url ParseUrl(std::string_view text)
{
    const auto separator = text.find("://");
    if (separator == std::string_view::npos)
        throw HttpError(kUnknownProtocol);
    Url url;
    url.scheme = std::string(text.substr(0, separator));
    if (!EqualsIgnoreAsciiCase(url.scheme, "http") && !EqualsIgnoreAsciiCase(url.scheme, "https"))
        throw HttpError(kUnknownProtocol);

    std::string rest(text.substr(separator + 3));
    const auto queryOrFragment = rest.find_first_of("?#");
    std::replace(rest.begin(),
                 rest.begin() + static_cast<std::ptrdiff_t>(std::min(queryOrFragment, rest.size())),
                 '\\', '/');
    const auto question = rest.find('?');
    if (question != std::string::npos) {
        url.query = rest.substr(question + 1);
        url.query.erase(std::min(url.query.find('#'), url.query.size()));
        rest.erase(question);
    } else {
        rest.erase(std::min(rest.find('#'), rest.size()));
    }

    const auto slash = rest.find('/');
    SplitAuthority(std::string_view(rest).substr(0, slash), url);
    const std::string remains = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
    const auto lastSlash = remains.rfind('/');
    const std::size_t pathLength = lastSlash == std::string::npos ? 0 : lastSlash + 1;
    url.path = "/" + remains.substr(0, pathLength);
    url.document = remains.substr(pathLength);
    return url;
}

std::string OriginFormTarget(const Url& url)
{
    std::string target = url.path + url.document;
    if (!url.query.empty())
        target += "?" + url.query;
    return target;
}

std::string HostAsWritten(const Url& url)
{
    return url.bracketedHost ? "[" + url.host + "]" : url.host;
}

std::string HostHeaderValue(const Url& url)
{
    std::string value = HostAsWritten(url);
    if (!url.HasDefaultPort())
        value += ":" + std::to_string(url.port);
    return value;
}

std::string AbsoluteFormTarget(const Url& url)
{
    return url.scheme + "://" + HostHeaderValue(url) + OriginFormTarget(url);
}

} // namespace net
