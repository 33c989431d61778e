#pragma once

#include "proxylist/proxy_store.h"

#include <functional>
#include <string>

namespace proxylist {

// Where a refresh takes the list and its date from.
struct RefreshSources {
    std::string proxyListUrl;
    std::string dateUrl;
};

// Replaces the proxy list with the service's, shows and keeps the list's
// date, starts an empty blacklist, saves the three files (date, blacklist,
// proxy list) and selects the first entry. A failing request or save throws
// and ends the refresh there: what happened before it stays done.
void RefreshProxyList(ProxyStore& store, const RefreshSources& sources,
                      const std::function<void(const std::string& dateText)>& showDate);

} // namespace proxylist
