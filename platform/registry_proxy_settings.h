#pragma once

#include "platform/internet_settings.h"
#include "platform/proxy_settings.h"
#include "platform/registry.h"

namespace platform {

// ProxyServer and ProxyEnable in the current user's Internet Settings key,
// announced to the system's web stack after every write. Values read as
// "TYPE:HEX" of their raw data.
class RegistryProxySettings final : public ProxySettingsStore {
public:
    RegistryProxySettings(Registry& registry, InternetSettings& internetSettings)
        : registry_(registry), internetSettings_(internetSettings)
    {
    }

    std::string Name() const override { return "registry"; }
    bool InUse() override { return true; }
    ProxyValues Read() override;
    ProxyValues ValuesFor(const ProxyServer& server) const override;
    // ProxyEnable 0, whatever the server: what a switch-off has always left.
    ProxyValues SwitchedOff(const ProxyValues& current,
                            const std::optional<ProxyServer>& server) const override;
    // A key that can't be opened is passed over silently; a failed write
    // throws ERegistryException and ends it there, unannounced.
    void Write(const ProxyValues& values) override;

private:
    Registry& registry_;
    InternetSettings& internetSettings_;
};

} // namespace platform
