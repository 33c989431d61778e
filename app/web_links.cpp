#include "app/web_links.h"

#include "hopvane/build_config.h"

namespace app {

std::string ProductPageUrl(const std::string&)
{
    return std::string(HOPVANE_SERVICE_HTTPS_BASE) + "/hopvane?zdroj=program_hopvane";
}

std::string MyIpPageUrl(const std::string& activeLanguage)
{
    const char* path = activeLanguage == "English" ? "/myip?zdroj=program_hopvane"
                                                   : "/mojeip?zdroj=program_hopvane";
    return std::string(HOPVANE_SERVICE_HTTPS_BASE) + path;
}

} // namespace app
