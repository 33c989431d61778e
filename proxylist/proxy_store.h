#pragma once

#include "proxylist/proxy_list.h"

#include <string>

namespace proxylist {

// The proxy list, the blacklist and the list date, each mirrored in its file
// in the data folder.
class ProxyStore {
public:
    // The folder path ends with its separator.
    explicit ProxyStore(std::string dataFolder);

    // Loads "proxylist.txt", "blacklist.txt" and "proxylistdate.txt", in
    // that order, each only if it exists. A platform::FileError ends the
    // loading at the failing file; the lists loaded before it keep their
    // content.
    void LoadListFiles();

    ProxyList& Proxys() { return proxys_; }
    ProxyList& blacklist() { return blacklist_; }
    ProxyList& FileUpdateDate() { return fileUpdateDate_; }
    const ProxyList& Proxys() const { return proxys_; }
    const ProxyList& blacklist() const { return blacklist_; }
    const ProxyList& FileUpdateDate() const { return fileUpdateDate_; }

    std::string ProxyListPath() const;
    std::string BlacklistPath() const;
    std::string DateListPath() const;

    // Moves a failed entry from the proxy list to the blacklist and makes
    // the line then selected the current proxy; an entry already
    // blacklisted changes nothing. Saves the blacklist, then the proxy list.
    // The entry is a copy, so currentProxy itself may be passed as it.
    void BlacklistProxy(std::string entry, std::string& currentProxy);

private:
    std::string dataFolder_;
    ProxyList proxys_;
    ProxyList blacklist_;
    ProxyList fileUpdateDate_;
};

} // namespace proxylist
