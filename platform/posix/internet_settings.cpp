#include "platform/internet_settings.h"

#include "platform/posix/desktop_proxy.h"
#include "platform/proxy_settings.h"
#include "platform/registry_proxy_settings.h"

namespace platform {

namespace {

// Nothing on Linux reads the hive's proxy: the desktops are stores of their
// own, written beside it.
class UnheardInternetSettings final : public InternetSettings {
public:
    void NotifySettingsChanged() override {}
};

} // namespace

InternetSettings& SystemInternetSettings()
{
    static UnheardInternetSettings settings;
    return settings;
}

std::vector<ProxySettingsStore*> SystemProxySettingsStores()
{
    static RegistryProxySettings hive(CurrentUserRegistry(), SystemInternetSettings());
    static GnomeProxySettings gnome;
    static KdeProxySettings kde;
    return {&hive, &gnome, &kde};
}

} // namespace platform
