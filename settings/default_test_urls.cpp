#include "settings/default_test_urls.h"

#include "hopvane/build_config.h"

namespace settings {

namespace {

constexpr const char* kTestPagePath = "/hopvane/myip.php";

} // namespace

std::string SecureDefaultTestUrl()
{
    return std::string(HOPVANE_SERVICE_HTTPS_BASE) + kTestPagePath;
}

std::string PlainDefaultTestUrl()
{
    return std::string(HOPVANE_SERVICE_HTTP_BASE) + kTestPagePath;
}

} // namespace settings
