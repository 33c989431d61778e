#include "net/service_endpoints.h"

#include <gtest/gtest.h>

namespace net {
namespace {

TEST(ServiceEndpoints, EveryAddressIsBuiltOnItsSite)
{
    const ServiceEndpoints endpoints(
        {"http://cz.test:81", "https://cz.test:444", "https://en.test"});
    const std::pair<std::string, const char*> addresses[] = {
        {endpoints.MyIpText(), "https://cz.test:444/hopvane/myiptxt.php"},
        {endpoints.ReleaseNumber(), "https://cz.test:444/download/KHopvane.txt"},
        {endpoints.ProxyList(), "http://cz.test:81/hopvane/proxylist/proxy.txt"},
        {endpoints.ProxyListDate(), "http://cz.test:81/hopvane/proxylist/date-proxy-list.php"},
        {endpoints.SecureTestPage(), "https://cz.test:444/hopvane/myip.php"},
        {endpoints.PlainTestPage(), "http://cz.test:81/hopvane/myip.php"},
        {endpoints.SpeedTestFile(), "https://cz.test:444/hopvane/downloadspeed.txt"},
        {endpoints.GeoText(), "http://cz.test:81/hopvane/geo/geo.php"},
        {endpoints.ConnectionPage(), "https://cz.test:444/hopvane/connection.php"},
        {endpoints.MyIpTextPage(), "https://cz.test:444/hopvane/myiptxt.php"},
        {endpoints.ProductPage(), "https://cz.test:444/hopvane?zdroj=program_hopvane"},
        {endpoints.MyIpPage("Czech"), "https://cz.test:444/mojeip?zdroj=program_hopvane"},
        {endpoints.MyIpPage("English"), "https://cz.test:444/myip?zdroj=program_hopvane"},
        {endpoints.DownloadPage("Czech"), "https://cz.test:444/hopvane?zdroj=program_hopvane"},
        {endpoints.DownloadPage("English"), "https://en.test/"},
    };
    for (const auto& [built, expected] : addresses)
        EXPECT_EQ(built, expected);
}

TEST(ServiceEndpoints, TheBuiltOnesUseTheBuildSettings)
{
    EXPECT_EQ(ServiceEndpoints::Built().MyIpText(), "https://127.0.0.1:18443/hopvane/myiptxt.php");
    EXPECT_EQ(ServiceEndpoints::Built().ProxyList(),
              "http://127.0.0.1:18080/hopvane/proxylist/proxy.txt");
    EXPECT_EQ(ServiceEndpoints::Built().DownloadPage("English"), "https://127.0.0.1:18444/");
}

} // namespace
} // namespace net
