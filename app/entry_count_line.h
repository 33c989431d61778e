#pragma once

#include "proxylist/proxy_list.h"

#include <functional>

namespace app {

// Keeps the entry-count line in step with the proxy list from the moment it
// is made: every change of the list's content shows the new count.
class EntryCountLine final : private proxylist::ProxyListObserver {
public:
    using Show = std::function<void(int count)>;

    EntryCountLine(proxylist::ProxyList& list, Show show);
    ~EntryCountLine() override;
    EntryCountLine(const EntryCountLine&) = delete;
    EntryCountLine& operator=(const EntryCountLine&) = delete;

private:
    void ContentReset() override { Update(); }
    void RowInserted(int) override { Update(); }
    void RowRemoved(int) override { Update(); }
    void SelectionChanged(int) override {}
    void Update() { show_(list_.Count()); }

    proxylist::ProxyList& list_;
    Show show_;
};

} // namespace app
