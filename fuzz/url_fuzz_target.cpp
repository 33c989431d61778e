// Arbitrary text as a URL. What the client writes from a parsed URL must
// parse back to the same place: the absolute form is what a proxy receives.

#include "fuzz/fuzz_target.h"
#include "net/http_error.h"
#include "net/url.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool SamePlace(const net::Url& a, const net::Url& b)
{
    return a.host == b.host && a.bracketedHost == b.bracketedHost && a.port == b.port &&
           a.path == b.path && a.document == b.document && a.query == b.query;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    net::Url url;
    try {
        url = net::ParseUrl(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const net::HttpError&) {
        return 0; // not http or https
    }
    net::OriginFormTarget(url);
    net::HostHeaderValue(url);
    // A "#" before the query is no fragment, as the client has always read
    // it: the "#" and what follows it up to the query stay in the URL as
    // written, backslashes and all, and read back differently. Only the rest
    // must come back.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto question = text.find('?');
    const bool hashBeforeQuery = question != std::string_view::npos && text.find('#') < question;
    if (!hashBeforeQuery && !SamePlace(net::ParseUrl(net::AbsoluteFormTarget(url)), url))
        std::abort();
    return 0;
}
