#include "settings/default_test_urls.h"

#include "net/service_endpoints.h"

namespace settings {

std::string SecureDefaultTestUrl()
{
    return net::ServiceEndpoints::Built().SecureTestPage();
}

std::string PlainDefaultTestUrl()
{
    return net::ServiceEndpoints::Built().PlainTestPage();
}

} // namespace settings
