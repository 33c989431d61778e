#include "sysproxy/system_proxy.h"

#include "platform/registry_key.h"

namespace sysproxy {

SystemProxy::SystemProxy(platform::Registry& registry, platform::InternetSettings& internetSettings,
                         extctl::StatusMutex& statusMutex, const i18n::Localisation& strings,
                         std::optional<std::string> recordFolder)
    : registry_(registry), internetSettings_(internetSettings), statusMutex_(statusMutex),
      strings_(strings)
{
    if (recordFolder)
        record_.emplace(std::move(*recordFolder));
}

ProxyIndicator SystemProxy::NastavProxy(const std::string& currentProxy)
{
    // Noted first: a crash right after the apply must still find the note.
    if (record_)
        record_->Write(currentProxy);
    {
        platform::RegistryKey key(registry_, platform::kInternetSettingsKey, platform::kKeyWrite);
        if (key.IsOpen()) {
            key.WriteString("ProxyServer", currentProxy);
            key.WriteInteger("ProxyEnable", 1);
        }
    }
    internetSettings_.NotifySettingsChanged();
    ProxyIndicator shown{strings_.GetTextOrDefault("IDS_40"), std::nullopt};
    shown.txtMutex = statusMutex_.SwitchTo(extctl::kStatusOk);
    return shown;
}

ProxyIndicator SystemProxy::ZrusProxy()
{
    SwitchSystemProxyOff(registry_, internetSettings_);
    if (record_)
        record_->Remove();
    return ProxyIndicator{strings_.GetTextOrDefault("IDS_45"), std::nullopt};
}

} // namespace sysproxy
