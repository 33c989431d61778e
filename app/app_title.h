#pragma once

#include <string>

namespace app {

// The title that captions message boxes and error reports: the executable's
// file name without its folder, cut at its first dot, every character after
// the first in lower case ("HOPVANE.EXE" gives "Hopvane").
std::string ApplicationTitle(const std::string& executablePath);

} // namespace app
