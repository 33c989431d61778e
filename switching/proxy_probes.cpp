#include "switching/proxy_probes.h"

#include "net/http_client.h"
#include "net/memory_stream.h"
#include "net/tls_layer.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/text_integer.h"

#include <cctype>
#include <cmath>
#include <exception>
#include <memory>
#include <stdexcept>

namespace switching {

namespace {

constexpr char kSpeedTestCopy[] = "downloadspeed.txt";

// A client that goes through the proxy, with a TLS layer of its own for an
// https page behind it. Throws when the port is not a number.
std::unique_ptr<net::HttpClient> ClientThrough(const ProxyAddress& proxy)
{
    const auto port = platform::TextToInteger(proxy.port);
    if (!port)
        throw std::invalid_argument("'" + proxy.port + "' is not a valid integer value");
    auto client = std::make_unique<net::HttpClient>();
    client->AttachTlsLayer(std::make_unique<net::TlsLayer>());
    client->SetProxyHostName(proxy.host);
    client->SetProxyPortNumber(*port);
    return client;
}

// Only a body of known length moves the bar; the work mode does not matter.
void HttpWork(const net::HttpClient& client, std::int64_t workCount, SpeedTestDisplay& display)
{
    const net::HttpResponse& response = client.Response();
    std::string encoding = response.TransferEncoding();
    for (char& c : encoding)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (encoding.find("chunked") != std::string::npos || response.ContentLength() <= 0)
        return;
    display.ShowProgress(static_cast<std::int32_t>(response.ContentLength()),
                         static_cast<std::int32_t>(workCount));
}

// The body of the URL fetched through the proxy; empty on any failure.
std::string TextThrough(const ProxyAddress& proxy, const std::string& url)
{
    try {
        return ClientThrough(proxy)->GetText(url);
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace

std::int32_t SpeedFor(std::uint32_t elapsedMs)
{
    // Within one tick of the clock a download still took some time.
    const double elapsed = elapsedMs == 0 ? 1.0 : static_cast<double>(elapsedMs);
    const double bytesPerSecond = std::trunc(double{kSpeedTestBytes} * 1000.0 / elapsed);
    return static_cast<std::int32_t>(std::trunc(bytesPerSecond / 1024.0));
}

bool TestProxy(const ProxyAddress& proxy, const std::string& testUrl)
{
    try {
        ClientThrough(proxy)->GetText(testUrl);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool DownloadSpeedTest(const std::string& speedTestUrl, const std::string& tempFolder,
                       SpeedTestDisplay& display, const TickSource& ticks)
{
    const std::uint32_t start = ticks();
    bool downloaded = true;
    try {
        net::HttpClient client;
        client.SetOnProgress(
            [&display](net::HttpClient& reporting, net::WorkMode, std::int64_t workCount) {
                HttpWork(reporting, workCount, display);
            });
        net::MemoryStream buffer;
        client.GetStream(speedTestUrl, buffer);
        platform::ReplaceFileContent(tempFolder + platform::PathSeparator() + kSpeedTestCopy,
                                     buffer.Bytes());
    } catch (const std::exception&) {
        downloaded = false;
    }
    const std::uint32_t elapsed = ticks() - start;

    std::int32_t speed = 0;
    if (downloaded)
        speed = SpeedFor(elapsed);
    else
        display.ResetProgress();
    display.ShowSpeed(std::to_string(speed) + " Kb/s");
    return speed >= kLeastSpeed;
}

std::string GetGeoInfo(const ProxyAddress& proxy, const std::string& geoUrl)
{
    return TextThrough(proxy, geoUrl);
}

std::string GetExitAddress(const ProxyAddress& proxy, const std::string& addressUrl)
{
    return TextThrough(proxy, addressUrl);
}

} // namespace switching
