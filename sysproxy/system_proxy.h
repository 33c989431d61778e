#pragma once

#include "extctl/status_mutex.h"
#include "i18n/localisation.h"
#include "platform/proxy_settings.h"
#include "sysproxy/applied_proxy_record.h"
#include "sysproxy/proxy_snapshot.h"

#include <optional>
#include <string>
#include <vector>

namespace sysproxy {

// What the main window shows after an apply or a clear.
struct ProxyIndicator {
    std::string txtChanged;
    // Set when the status name changed with it.
    std::optional<std::string> txtMutex;
};

// Where a note of the applied proxy goes, and the owner it names.
struct RecordPlace {
    std::string dataFolder;
    std::string owner;
};

// The current user's system-wide web proxy, in every store where the user's
// programs look for it (the Internet Settings key; on Linux the desktops'
// settings too). Switching off puts back what the user had before.
class SystemProxy {
public:
    // With a record place, a note there tells a later start that a proxy is
    // applied, and what to put back, until it is switched off again.
    SystemProxy(std::vector<platform::ProxySettingsStore*> stores, extctl::StatusMutex& statusMutex,
                const i18n::Localisation& strings,
                std::optional<RecordPlace> record = std::nullopt);

    // Points every store in use at the server and holds "Hopvane_ok". The
    // first apply after a switch-off notes what the stores held. A failed
    // write throws (platform::ERegistryException) and ends it there.
    ProxyIndicator NastavProxy(const platform::ProxyServer& server);

    // Switches the proxy off: puts back what the stores held before the first
    // apply wherever they still hold what it wrote. Before this copy's first
    // apply it switches the system's proxy off once, as a switch-off always
    // has, but leaves the desktops' settings, which were never Hopvane's;
    // after a put-back the settings are the user's again and stay.
    ProxyIndicator ZrusProxy();

private:
    std::vector<platform::ProxySettingsStore*> stores_;
    extctl::StatusMutex& statusMutex_;
    const i18n::Localisation& strings_;
    std::optional<AppliedProxyRecord> record_;
    std::string owner_;
    std::optional<ProxySnapshot> snapshot_;
    bool mayClearPlainly_ = true;
};

} // namespace sysproxy
