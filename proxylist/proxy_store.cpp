#include "proxylist/proxy_store.h"

#include "platform/files.h"

#include <optional>
#include <utility>

namespace proxylist {

namespace {

void LoadIfExists(ProxyList& list, const std::string& path)
{
    if (platform::FileExists(path))
        list.LoadFromFile(path);
}

} // namespace

ProxyStore::ProxyStore(std::string dataFolder) : dataFolder_(std::move(dataFolder)) {}

void ProxyStore::LoadListFiles()
{
    LoadIfExists(proxys_, ProxyListPath());
    LoadIfExists(blacklist_, BlacklistPath());
    LoadIfExists(fileUpdateDate_, DateListPath());
}

std::string ProxyStore::ProxyListPath() const
{
    return dataFolder_ + "proxylist.txt";
}

std::string ProxyStore::BlacklistPath() const
{
    return dataFolder_ + "blacklist.txt";
}

std::string ProxyStore::DateListPath() const
{
    return dataFolder_ + "proxylistdate.txt";
}

void ProxyStore::BlacklistProxy(std::string entry, std::string& currentProxy)
{
    const int selected = proxys_.ItemIndex();
    if (blacklist_.IndexOf(entry) != -1)
        return;
    blacklist_.Add(entry);
    proxys_.Delete(proxys_.IndexOf(entry));
    proxys_.SetItemIndex(selected);
    if (std::optional<std::string> now = proxys_.SelectedEntry())
        currentProxy = std::move(*now);
    blacklist_.SaveToFile(BlacklistPath());
    proxys_.SaveToFile(ProxyListPath());
}

} // namespace proxylist
