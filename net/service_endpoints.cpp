#include "net/service_endpoints.h"

#include "hopvane/build_config.h"

#include <utility>

namespace net {

namespace {

// The service tells where a page was opened from by this query.
constexpr char kFromProgram[] = "?zdroj=program_hopvane";

bool IsEnglish(const std::string& language)
{
    return language == "English";
}

} // namespace

ServiceEndpoints::ServiceEndpoints(ServiceSites sites) : sites_(std::move(sites)) {}

const ServiceEndpoints& ServiceEndpoints::Built()
{
    static const ServiceEndpoints built(ServiceSites{
        HOPVANE_SERVICE_HTTP_BASE, HOPVANE_SERVICE_HTTPS_BASE, HOPVANE_ENGLISH_SITE_HTTPS_BASE});
    return built;
}

std::string ServiceEndpoints::MyIpText() const
{
    return sites_.czechHttps + "/hopvane/myiptxt.php";
}

std::string ServiceEndpoints::ExitAddressText() const
{
    return sites_.czechHttp + "/hopvane/myiptxt.php";
}

std::string ServiceEndpoints::ReleaseNumber() const
{
    return sites_.czechHttps + "/download/KHopvane.txt";
}

std::string ServiceEndpoints::ProxyList() const
{
    return sites_.czechHttp + "/hopvane/proxylist/proxy.txt";
}

std::string ServiceEndpoints::ProxyListDate() const
{
    return sites_.czechHttp + "/hopvane/proxylist/date-proxy-list.php";
}

std::string ServiceEndpoints::SecureTestPage() const
{
    return sites_.czechHttps + "/hopvane/myip.php";
}

std::string ServiceEndpoints::PlainTestPage() const
{
    return sites_.czechHttp + "/hopvane/myip.php";
}

std::string ServiceEndpoints::SpeedTestFile() const
{
    return sites_.czechHttps + "/hopvane/downloadspeed.txt";
}

std::string ServiceEndpoints::GeoText() const
{
    return sites_.czechHttp + "/hopvane/geo/geo.php";
}

std::string ServiceEndpoints::ConnectionPage() const
{
    return sites_.czechHttps + "/hopvane/connection.php";
}

std::string ServiceEndpoints::MyIpTextPage() const
{
    return MyIpText();
}

std::string ServiceEndpoints::ProductPage() const
{
    return sites_.czechHttps + "/hopvane" + kFromProgram;
}

std::string ServiceEndpoints::MyIpPage(const std::string& language) const
{
    return sites_.czechHttps + (IsEnglish(language) ? "/myip" : "/mojeip") + kFromProgram;
}

std::string ServiceEndpoints::DownloadPage(const std::string& language) const
{
    return IsEnglish(language) ? sites_.englishHttps + "/" : ProductPage();
}

} // namespace net
