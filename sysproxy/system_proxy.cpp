#include "sysproxy/system_proxy.h"

#include <utility>

namespace sysproxy {

SystemProxy::SystemProxy(std::vector<platform::ProxySettingsStore*> stores,
                         extctl::StatusMutex& statusMutex, const i18n::Localisation& strings,
                         std::optional<RecordPlace> record)
    : stores_(std::move(stores)), statusMutex_(statusMutex), strings_(strings)
{
    if (record) {
        record_.emplace(std::move(record->dataFolder));
        owner_ = std::move(record->owner);
    }
}

ProxyIndicator SystemProxy::NastavProxy(const platform::ProxyServer& server)
{
    if (!snapshot_)
        snapshot_.emplace();
    mayClearPlainly_ = false;
    std::vector<std::pair<platform::ProxySettingsStore*, platform::ProxyValues>> writes;
    for (platform::ProxySettingsStore* store : stores_) {
        if (!store->InUse())
            continue;
        const platform::ProxyValues current = store->Read();
        if (current.empty())
            continue;
        platform::ProxyValues values = store->ValuesFor(server);
        snapshot_->NoteWrite(store->Name(), current, values);
        writes.emplace_back(store, std::move(values));
    }
    // Noted first: a crash right after the apply must still find the note.
    if (record_)
        record_->Write(AppliedProxy{server.Text(), owner_, snapshot_});
    for (const auto& [store, values] : writes)
        store->Write(values);
    ProxyIndicator shown{strings_.GetTextOrDefault("IDS_40"), std::nullopt};
    shown.txtMutex = statusMutex_.SwitchTo(extctl::kStatusOk);
    return shown;
}

ProxyIndicator SystemProxy::ZrusProxy()
{
    if (snapshot_ || mayClearPlainly_)
        PutBack(stores_, snapshot_ ? &*snapshot_ : nullptr);
    snapshot_.reset();
    mayClearPlainly_ = false;
    if (record_)
        record_->Remove();
    return ProxyIndicator{strings_.GetTextOrDefault("IDS_45"), std::nullopt};
}

} // namespace sysproxy
