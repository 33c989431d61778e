#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace i18n {

// The lines of a list stored as one comma-separated text. An item in double
// quotes may hold commas and doubled quotes; blanks around items are dropped.
std::vector<std::string> SplitCommaText(std::string_view text);

} // namespace i18n
