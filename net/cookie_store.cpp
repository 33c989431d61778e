#include "net/cookie_store.h"

#include "net/ascii_text.h"
#include "net/cookie_date.h"

#include <algorithm>
#include <limits>

namespace net {

namespace {

bool IsIpv4Literal(std::string_view host)
{
    return !host.empty() && host.find_first_not_of("0123456789.") == std::string_view::npos;
}

bool DomainMatches(std::string_view host, std::string_view domain)
{
    if (host == domain)
        return true;
    return host.size() > domain.size() && EndsWithIgnoreAsciiCase(host, domain) &&
           host[host.size() - domain.size() - 1] == '.' && !IsIpv4Literal(host);
}

std::string RequestPath(const Url& url)
{
    return url.path + url.document;
}

// The directory of the request path, without its last "/".
std::string DefaultPath(const Url& url)
{
    const std::string path = RequestPath(url);
    const auto slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

bool PathMatches(std::string_view requestPath, std::string_view cookiePath)
{
    if (requestPath == cookiePath)
        return true;
    return requestPath.substr(0, cookiePath.size()) == cookiePath &&
           (cookiePath.back() == '/' || requestPath[cookiePath.size()] == '/');
}

std::optional<std::int64_t> MaxAgeExpiry(std::string_view value, std::int64_t now)
{
    const bool negative = !value.empty() && value.front() == '-';
    const std::string_view digits = negative ? value.substr(1) : value;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    if (negative)
        return std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kLongest = std::numeric_limits<std::int64_t>::max();
    std::int64_t seconds = 0;
    for (const char digit : digits) {
        if (seconds > (kLongest - 9) / 10) {
            seconds = kLongest;
            break;
        }
        seconds = seconds * 10 + (digit - '0');
    }
    if (seconds == 0)
        return std::numeric_limits<std::int64_t>::min();
    return seconds > kLongest - now ? kLongest : now + seconds;
}

} // namespace

void CookieStore::Take(std::string_view setCookie, const Url& url, std::int64_t now)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const auto semicolon = setCookie.find(';', start);
        parts.push_back(setCookie.substr(start, semicolon - start));
        if (semicolon == std::string_view::npos)
            break;
        start = semicolon + 1;
    }
    const auto equals = parts.front().find('=');
    if (equals == std::string_view::npos)
        return;
    Cookie cookie;
    cookie.name = std::string(TrimAscii(parts.front().substr(0, equals)));
    cookie.value = std::string(TrimAscii(parts.front().substr(equals + 1)));
    if (cookie.name.empty())
        return;

    const std::string host = ToLowerAscii(url.host);
    std::optional<std::int64_t> maxAge;
    std::optional<std::int64_t> expires;
    std::string domain;
    std::string path;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const auto attributeEquals = parts[i].find('=');
        const std::string_view name = TrimAscii(parts[i].substr(0, attributeEquals));
        const std::string_view value = attributeEquals == std::string_view::npos
                                           ? std::string_view()
                                           : TrimAscii(parts[i].substr(attributeEquals + 1));
        if (EqualsIgnoreAsciiCase(name, "Expires")) {
            expires = ParseCookieDate(value);
        } else if (EqualsIgnoreAsciiCase(name, "Max-Age")) {
            maxAge = MaxAgeExpiry(value, now);
        } else if (EqualsIgnoreAsciiCase(name, "Domain") && !value.empty()) {
            domain = ToLowerAscii(value.front() == '.' ? value.substr(1) : value);
        } else if (EqualsIgnoreAsciiCase(name, "Path")) {
            path = std::string(value);
        } else if (EqualsIgnoreAsciiCase(name, "Secure")) {
            cookie.secure = true;
        }
    }
    if (domain.empty()) {
        cookie.domain = host;
    } else {
        if (!DomainMatches(host, domain))
            return;
        cookie.domain = domain;
        cookie.hostOnly = false;
    }
    cookie.path = !path.empty() && path.front() == '/' ? path : DefaultPath(url);
    cookie.expires = maxAge ? maxAge : expires;

    const auto same = std::find_if(cookies_.begin(), cookies_.end(), [&cookie](const Cookie& c) {
        return c.name == cookie.name && c.domain == cookie.domain && c.path == cookie.path;
    });
    const bool expired = cookie.expires && *cookie.expires <= now;
    if (same != cookies_.end()) {
        if (expired)
            cookies_.erase(same);
        else
            *same = std::move(cookie);
    } else if (!expired) {
        cookies_.push_back(std::move(cookie));
    }
}

std::string CookieStore::CookieHeaderFor(const Url& url, std::int64_t now) const
{
    const std::string host = ToLowerAscii(url.host);
    const std::string requestPath = RequestPath(url);
    std::vector<const Cookie*> matching;
    for (const auto& cookie : cookies_) {
        const bool domainOk =
            cookie.hostOnly ? host == cookie.domain : DomainMatches(host, cookie.domain);
        if (domainOk && PathMatches(requestPath, cookie.path) &&
            (!cookie.secure || url.IsHttps()) && (!cookie.expires || *cookie.expires > now))
            matching.push_back(&cookie);
    }
    std::stable_sort(matching.begin(), matching.end(), [](const Cookie* a, const Cookie* b) {
        return a->path.size() > b->path.size();
    });
    std::string header;
    for (const Cookie* cookie : matching) {
        if (!header.empty())
            header += "; ";
        header += cookie->name + "=" + cookie->value;
    }
    return header;
}

} // namespace net
