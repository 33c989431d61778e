#include "proxylist/proxy_list_refresh.h"

#include "net/http_client.h"

namespace proxylist {

void RefreshProxyList(ProxyStore& store, const RefreshSources& sources,
                      const std::function<void(const std::string& dateText)>& showDate)
{
    store.Proxys().SetText(net::GetTextDirect(sources.proxyListUrl));

    const std::string date = net::GetTextDirect(sources.dateUrl);
    showDate(date);
    store.FileUpdateDate().SetText(date);
    store.FileUpdateDate().SaveToFile(store.DateListPath());

    store.blacklist().Clear();
    store.blacklist().SaveToFile(store.BlacklistPath());

    store.Proxys().SaveToFile(store.ProxyListPath());
    store.Proxys().SetItemIndex(0);
}

} // namespace proxylist
