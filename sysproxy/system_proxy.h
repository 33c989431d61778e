#pragma once

#include "extctl/status_mutex.h"
#include "i18n/localisation.h"
#include "platform/internet_settings.h"
#include "platform/registry.h"
#include "sysproxy/applied_proxy_record.h"

#include <optional>
#include <string>

namespace sysproxy {

// What the main window shows after an apply or a clear.
struct ProxyIndicator {
    std::string txtChanged;
    // Set when the status name changed with it.
    std::optional<std::string> txtMutex;
};

// The current user's system-wide web proxy: ProxyServer and ProxyEnable under
// "Software\Microsoft\Windows\CurrentVersion\Internet Settings", announced to
// the system's web stack after every change.
class SystemProxy {
public:
    // With a data folder, a record there tells a later start that a proxy
    // is applied until it is switched off again.
    SystemProxy(platform::Registry& registry, platform::InternetSettings& internetSettings,
                extctl::StatusMutex& statusMutex, const i18n::Localisation& strings,
                std::optional<std::string> recordFolder = std::nullopt);

    // Points the system proxy at the entry and switches it on, then holds
    // "Hopvane_ok". A key that can't be opened is passed over silently; a
    // failed write throws platform::ERegistryException and ends it there.
    ProxyIndicator NastavProxy(const std::string& currentProxy);

    // Switches the system proxy off; ProxyServer keeps its value.
    ProxyIndicator ZrusProxy();

private:
    platform::Registry& registry_;
    platform::InternetSettings& internetSettings_;
    extctl::StatusMutex& statusMutex_;
    const i18n::Localisation& strings_;
    std::optional<AppliedProxyRecord> record_;
};

} // namespace sysproxy
