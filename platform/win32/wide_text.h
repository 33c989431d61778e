#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

// The UTF-16 texts the W functions take and give, from and to the UTF-8 of
// the rest of the program.
std::wstring ToWide(std::string_view utf8);
std::string FromWide(std::wstring_view wide);

} // namespace platform::win32
