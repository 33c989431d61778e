#pragma once

#include "net/url.h"

#include <string>
#include <string_view>

namespace net {

inline constexpr char kAcceptValue[] =
    "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
inline constexpr char kAcceptEncodingValue[] = "identity";
inline constexpr char kUserAgentValue[] = "Mozilla/3.0 (compatible; Indy Library)";

// The head of a GET, each line ended by CR LF and the text in 7-bit ASCII:
// the request line, "Host", "Accept", "Accept-Encoding", "User-Agent", then
// "Cookie" when the value is not empty, and the empty line.
std::string BuildGetRequest(const Url& url, std::string_view requestTarget,
                            std::string_view cookieValue);

// The CONNECT request that opens a tunnel to the URL's host and port (the
// port always written).
std::string BuildConnectRequest(const Url& url);

} // namespace net
