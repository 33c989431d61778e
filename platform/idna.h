#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The ASCII form of a host name that holds other characters (IDNA, as
// IdnToAscii makes it); an ASCII name comes back unchanged. None when the
// name has no ASCII form.
std::optional<std::string> HostNameToAscii(std::string_view utf8Name);

} // namespace platform
