#pragma once

#include "net/url.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

// The cookies of one client object, as RFC 6265 keeps and matches them:
// domain (host-only unless the cookie names one), path, secure flag and
// expiry. Times are seconds since 1970 (UTC).
class CookieStore {
public:
    // Takes a "Set-Cookie" value that came with a response to the URL: a new
    // cookie, one that replaces the cookie of the same name, domain and path,
    // or, when already expired, the removal of that cookie. A value without
    // "=" or one for a domain the URL's host does not belong to is ignored.
    void Take(std::string_view setCookie, const Url& url, std::int64_t now);
    // "name=value" of each cookie that matches the URL, longer paths first,
    // joined by "; "; empty when none does.
    std::string CookieHeaderFor(const Url& url, std::int64_t now) const;
    std::size_t Count() const { return cookies_.size(); }

private:
    struct Cookie {
        std::string name;
        std::string value;
        std::string domain;
        std::string path;
        bool hostOnly = true;
        bool secure = false;
        std::optional<std::int64_t> expires;
    };

    std::vector<Cookie> cookies_;
};

} // namespace net
