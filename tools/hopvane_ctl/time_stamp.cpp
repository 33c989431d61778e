#include "tools/hopvane_ctl/time_stamp.h"

#include <ctime>
#include <iomanip>
#include <sstream>

namespace hopvane_ctl {

std::string LocalTimeStamp(std::chrono::system_clock::time_point at)
{
    using namespace std::chrono;
    const auto second = floor<seconds>(at);
    const std::time_t time = system_clock::to_time_t(second);
    const auto millisecond = duration_cast<milliseconds>(at - second).count();
    std::ostringstream text;
    // The tool runs one thread, so localtime's shared result is safe here.
    text << std::put_time(std::localtime(&time), "%Y-%m-%d %H:%M:%S") << '.' << std::setfill('0')
         << std::setw(3) << millisecond;
    return text.str();
}

} // namespace hopvane_ctl
