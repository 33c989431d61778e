#include "switching/service_probes.h"

#include "platform/environment.h"
#include "platform/tick_count.h"

namespace switching {

CheckProbes ServiceCheckProbes(const net::ServiceEndpoints& endpoints)
{
    return CheckProbes{
        [](const ProxyAddress& proxy, const std::string& testUrl) {
            return TestProxy(proxy, testUrl);
        },
        [speedTestUrl = endpoints.SpeedTestFile()](SpeedTestDisplay& display) {
            return DownloadSpeedTest(speedTestUrl, platform::TempFolder(), display,
                                     platform::TickCount);
        },
        [geoUrl = endpoints.GeoText()](const ProxyAddress& proxy) {
            return GetGeoInfo(proxy, geoUrl);
        },
        [addressUrl = endpoints.ExitAddressText()](const ProxyAddress& proxy) {
            return GetExitAddress(proxy, addressUrl);
        },
    };
}

} // namespace switching
