#include "sysproxy/proxy_snapshot.h"

#include <algorithm>

namespace sysproxy {

bool SnapshotValue::operator==(const SnapshotValue& other) const
{
    return store == other.store && key == other.key && before == other.before &&
           written == other.written;
}

void ProxySnapshot::NoteWrite(const std::string& store, const platform::ProxyValues& current,
                              const platform::ProxyValues& written)
{
    for (const auto& write : written) {
        const platform::ProxyValue now = platform::ValueOf(current, write.first);
        const auto noted = std::find_if(values.begin(), values.end(), [&](const SnapshotValue& v) {
            return v.store == store && v.key == write.first;
        });
        if (noted == values.end()) {
            values.push_back({store, write.first, now, write.second});
            continue;
        }
        if (noted->written != now)
            noted->before = now;
        noted->written = write.second;
    }
}

platform::ProxyValues ProxySnapshot::PutBackValues(const std::string& store,
                                                   const platform::ProxyValues& current) const
{
    platform::ProxyValues putBack;
    for (const SnapshotValue& value : values) {
        if (value.store == store && platform::ValueOf(current, value.key) == value.written &&
            value.before != value.written)
            putBack.emplace_back(value.key, value.before);
    }
    return putBack;
}

bool ProxySnapshot::Covers(const std::string& store) const
{
    return std::any_of(values.begin(), values.end(),
                       [&](const SnapshotValue& value) { return value.store == store; });
}

void PutBack(const std::vector<platform::ProxySettingsStore*>& stores,
             const ProxySnapshot* snapshot, const std::optional<platform::ProxyServer>& server)
{
    for (platform::ProxySettingsStore* store : stores) {
        if (!store->InUse() || (snapshot && !snapshot->Covers(store->Name())))
            continue;
        const platform::ProxyValues current = store->Read();
        if (current.empty())
            continue;
        const platform::ProxyValues values = snapshot
                                                 ? snapshot->PutBackValues(store->Name(), current)
                                                 : store->SwitchedOff(current, server);
        if (!values.empty())
            store->Write(values);
    }
}

} // namespace sysproxy
