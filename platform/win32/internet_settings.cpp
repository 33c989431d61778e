#include "platform/internet_settings.h"

#include "platform/proxy_settings.h"
#include "platform/registry_proxy_settings.h"

#include <windows.h>
#include <wininet.h>

namespace platform {

namespace {

class WinInetSettings final : public InternetSettings {
public:
    void NotifySettingsChanged() override
    {
        InternetSetOptionW(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, nullptr, 0);
    }
};

} // namespace

InternetSettings& SystemInternetSettings()
{
    static WinInetSettings settings;
    return settings;
}

std::vector<ProxySettingsStore*> SystemProxySettingsStores()
{
    static RegistryProxySettings registry(CurrentUserRegistry(), SystemInternetSettings());
    return {&registry};
}

} // namespace platform
