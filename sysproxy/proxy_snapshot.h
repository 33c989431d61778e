#pragma once

#include "platform/proxy_settings.h"

#include <optional>
#include <string>
#include <vector>

namespace sysproxy {

// What one key of a store held before Hopvane wrote to it, and what it wrote.
struct SnapshotValue {
    std::string store;
    std::string key;
    platform::ProxyValue before;
    platform::ProxyValue written;

    bool operator==(const SnapshotValue& other) const;
};

// The user's own proxy settings from before Hopvane's first apply of a
// switch-on, for putting them back when the proxy goes off again.
class ProxySnapshot {
public:
    // The written values go to the store, which holds the current ones now. A
    // key keeps what it held before Hopvane's first write, unless someone
    // changed it since Hopvane last wrote it: then theirs is what comes back.
    void NoteWrite(const std::string& store, const platform::ProxyValues& current,
                   const platform::ProxyValues& written);
    // What puts the store back: each key that still holds what Hopvane wrote,
    // with what it held before. A key changed by someone else is theirs.
    platform::ProxyValues PutBackValues(const std::string& store,
                                        const platform::ProxyValues& current) const;
    bool Covers(const std::string& store) const;

    std::vector<SnapshotValue> values;
};

// Switches Hopvane's proxy off in every store in use: with a snapshot, puts
// back what it noted; without one, switches each store's proxy off where it
// is the server's (when that is known). Failures of a store pass to the
// caller as the store throws them.
void PutBack(const std::vector<platform::ProxySettingsStore*>& stores,
             const ProxySnapshot* snapshot,
             const std::optional<platform::ProxyServer>& server = std::nullopt);

} // namespace sysproxy
