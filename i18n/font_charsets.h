#pragma once

#include <optional>
#include <string_view>

namespace i18n {

// The value of one of the nineteen standard Windows character-set names
// ("ANSI_CHARSET" 0 ... "OEM_CHARSET" 255), letter case ignored.
std::optional<int> CharsetValue(std::string_view name);

} // namespace i18n
