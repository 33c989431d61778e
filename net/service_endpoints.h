#pragma once

#include <string>

namespace net {

// The base URLs of the service's web sites, each without a trailing "/".
struct ServiceSites {
    std::string czechHttp;    // the service host's Czech-language site over http
    std::string czechHttps;   // the same site over https
    std::string englishHttps; // the English-language site over https
};

// Every address of the web service that the program uses: the requests it
// makes, the pages its hidden browsers load and the pages it opens in the
// user's browser. Nothing else in the program spells a service path.
class ServiceEndpoints {
public:
    explicit ServiceEndpoints(ServiceSites sites);

    // The sites the program was built for.
    static const ServiceEndpoints& Built();

    // The public address of the requester, as the whole body.
    std::string MyIpText() const;
    // The same page over plain http, so that a proxy's own headers reach it:
    // the address a site would see a request through the proxy come from.
    std::string ExitAddressText() const;
    // The newest release number, as the whole body.
    std::string ReleaseNumber() const;
    // One proxy entry per line, and the date of that list.
    std::string ProxyList() const;
    std::string ProxyListDate() const;
    // The default test page that proxies are tried with.
    std::string SecureTestPage() const;
    std::string PlainTestPage() const;
    // The timed download of the speed test (1 MiB).
    std::string SpeedTestFile() const;
    // A short text on where the requester (the proxy) is.
    std::string GeoText() const;

    // What the hidden browser controls load when the window first shows.
    std::string ConnectionPage() const;
    std::string MyIpTextPage() const;

    // Pages opened in the user's browser; the language is the active one,
    // "Czech" or "English".
    std::string ProductPage() const;
    std::string MyIpPage(const std::string& language) const;
    std::string DownloadPage(const std::string& language) const;

private:
    ServiceSites sites_;
};

} // namespace net
