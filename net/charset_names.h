#pragma once

#include <optional>
#include <string_view>

namespace net {

// The Windows code page that a registered character-set name or one of its
// aliases designates, compared without regard to case; none when unknown.
std::optional<unsigned> CodePageOfCharSet(std::string_view name);

} // namespace net
