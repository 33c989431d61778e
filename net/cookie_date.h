#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace net {

// Seconds since 1970-01-01 00:00:00 UTC of the date in a cookie's "Expires"
// attribute, read as RFC 6265 reads it (the many formats servers send); none
// when it holds no valid date.
std::optional<std::int64_t> ParseCookieDate(std::string_view text);

} // namespace net
