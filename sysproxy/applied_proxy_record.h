#pragma once

#include "sysproxy/proxy_snapshot.h"

#include <optional>
#include <string>
#include <string_view>

namespace sysproxy {

// What a note of an applied proxy tells a later start.
struct AppliedProxy {
    // The proxy applied, as "HOST:PORT".
    std::string server;
    // The name the applying copy holds while it runs; empty when unknown.
    std::string owner;
    // None in a note from before snapshots were kept.
    std::optional<ProxySnapshot> snapshot;
};

std::string FormatAppliedProxy(const AppliedProxy& applied);
// Any text reads as some note: one that isn't in the format is the older
// note, the entry alone.
AppliedProxy ParseAppliedProxy(std::string_view text);

// A note in the data folder that this program has pointed the system proxy
// at an entry, kept until it switches the proxy off again. A run that ends
// without closing (killed, power lost) leaves it behind.
class AppliedProxyRecord {
public:
    // The folder path ends with its separator.
    explicit AppliedProxyRecord(std::string dataFolder);

    // Failures pass silently: the proxy is applied all the same.
    void Write(const AppliedProxy& applied) const;
    void Remove() const;
    std::optional<AppliedProxy> Read() const;

private:
    std::string path_;
};

} // namespace sysproxy
