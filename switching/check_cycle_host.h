#pragma once

#include "platform/proxy_settings.h"
#include "switching/exit_address.h"
#include "switching/proxy_probes.h"

#include <cstddef>
#include <string>
#include <vector>

namespace switching {

// What a run of the check cycle reads and changes in the program. Every call
// comes on the user-interface thread.
class CheckCycleHost : public SpeedTestDisplay {
public:
    struct BlacklistOutcome {
        // False when the entry was blacklisted already, so nothing changed.
        bool moved;
        // Whether an entry of the list is selected (and current) afterwards.
        bool entrySelected;
    };

    virtual std::string CurrentProxyEntry() = 0;
    virtual std::string TestUrl() = 0;
    // The entries a walk or the next request reaches next, in list order, at
    // most that many: those after the selected one, or from the first when
    // none is selected.
    virtual std::vector<std::string> EntriesAhead(std::size_t most) = 0;
    // Whether the user lets the entries ahead be probed before their turn.
    virtual bool CheckAheadWanted() = 0;
    // The address the service saw at start without a proxy; empty when
    // unknown.
    virtual std::string OriginalAddress() = 0;
    // A run begins testing the host: the next-proxy button off, the status
    // "Hopvane_change", the status line "Connecting to" the host.
    virtual void RunStarting(const std::string& host) = 0;
    virtual BlacklistOutcome BlacklistProxy(const std::string& entry) = 0;
    // Selects the entry after the selected one and makes it current; false
    // when none is left, and then none is selected.
    virtual bool MoveSelectionOn() = 0;
    // The host answered through the proxy.
    virtual void ProxyOnline(const std::string& host) = 0;
    // The proxy would not hide the user: sites see the user's own address
    // through it, or it gives no address at all. The entry fails next.
    virtual void ExitNotHidden(ExitAddress exit) = 0;
    // The entry passed as the server: the server becomes the system proxy,
    // the next-proxy button comes on, the status is "Hopvane_ok".
    virtual void ApplyProxy(const std::string& entry, const platform::ProxyServer& server) = 0;
    virtual void ShowGeo(const std::string& text) = 0;
    // The list ran out before any entry passed: the cycle ends.
    virtual void WalkEndedWithoutProxy() = 0;
};

} // namespace switching
