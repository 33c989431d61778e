#pragma once

#include <string_view>

namespace i18n {

// The main window's string table in its stored form: the "stStrings_Unicode"
// section of its translation data, as UTF-8.
std::string_view MainWindowStringsData();

} // namespace i18n
