#pragma once

#include <string>
#include <string_view>

namespace platform {

// Letter case folded per code point (Latin, Greek, Cyrillic), as the system's
// case-insensitive comparison of texts treats them.
std::string FoldCase(std::string_view utf8);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// <0, 0 or >0, ordering by folded code points.
int CompareIgnoreCase(std::string_view a, std::string_view b);

} // namespace platform
