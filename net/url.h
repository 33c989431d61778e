#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace net {

// A URL as the client takes it apart. Nothing is percent-encoded or
// normalised: the pieces go out as they were written.
struct Url {
    std::string scheme; // as written; "http" or "https" in any case
    std::string user;
    std::string password;
    std::string host;           // without the brackets of an IPv6 address
    bool bracketedHost = false; // the host was written in "[" "]"
    std::uint16_t port = 0;     // the URL's own, else the scheme's default
    std::string path;           // from "/" up to and including the last "/"
    std::string document;       // what follows the path
    std::string query;          // without its "?"; the fragment is gone

    bool IsHttps() const;
    bool HasDefaultPort() const;
};

// Throws HttpError "Unknown Protocol" for a text without "://" and for a
// scheme other than http and https. A port that is not a number from 0 to
// 65535 counts as 0.
Url ParseUrl(std::string_view text);

// path + document, then "?" + query when the query is not empty.
std::string OriginFormTarget(const Url& url);
// scheme "://" host [":" port] + the origin-form target; the port is left
// out when it is the scheme's default.
std::string AbsoluteFormTarget(const Url& url);
// The host (an IPv6 address in brackets), then ":" + port unless it is the
// scheme's default.
std::string HostHeaderValue(const Url& url);
// The host as it stands in a URL or a CONNECT line.
std::string HostAsWritten(const Url& url);

} // namespace net
