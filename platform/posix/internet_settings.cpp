#include "platform/internet_settings.h"

#include "platform/posix/desktop_internet_settings.h"
#include "platform/posix/desktop_proxy.h"
#include "platform/registry_key.h"

namespace platform {

namespace {

bool ProxyEnabled(Registry& registry)
{
    Registry::Key key = Registry::kNoKey;
    if (registry.CreateKey(kInternetSettingsKey, kKeyRead, &key) != kErrorSuccess)
        return false;
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
    const bool enabled = registry.QueryValue(key, "ProxyEnable", &type, &data) == kErrorSuccess &&
                         type == kRegDword && data == RegDwordData(1);
    registry.CloseKey(key);
    return enabled;
}

// One desktop's failure must not keep the other from hearing of the change.
template <typename Apply> void IgnoringFailure(Apply apply) noexcept
{
    try {
        apply();
    } catch (...) {
    }
}

} // namespace

void DesktopInternetSettings::NotifySettingsChanged()
{
    IgnoringFailure([this] {
        std::optional<ProxyAddress> proxy;
        if (ProxyEnabled(registry_)) {
            RegistryKey key(registry_, kInternetSettingsKey, kKeyRead);
            proxy = SplitProxyEntry(key.ReadString("ProxyServer"));
            if (!proxy)
                return;
        }
        IgnoringFailure([&] { ApplyGnomeProxy(proxy); });
        IgnoringFailure([&] { ApplyKdeProxy(proxy); });
    });
}

InternetSettings& SystemInternetSettings()
{
    static DesktopInternetSettings settings(CurrentUserRegistry());
    return settings;
}

} // namespace platform
