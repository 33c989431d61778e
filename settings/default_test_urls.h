#pragma once

#include <string>

namespace settings {

// The test page on the service host: https for the main window's first
// showing, http for the configuration window.
std::string SecureDefaultTestUrl();
std::string PlainDefaultTestUrl();

} // namespace settings
