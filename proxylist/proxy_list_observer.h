#pragma once

namespace proxylist {

// Told of each change of a ProxyList after it has happened, so that a view
// can show the list without keeping a copy of its own.
class ProxyListObserver {
public:
    virtual ~ProxyListObserver() = default;

    // The whole content was replaced: loaded, set as text or cleared.
    virtual void ContentReset() = 0;
    virtual void RowInserted(int index) = 0;
    virtual void RowRemoved(int index) = 0;
    // After every accepted SetItemIndex, even of the index already selected
    // (a view scrolls the line into view), and after every other change of
    // ItemIndex.
    virtual void SelectionChanged(int itemIndex) = 0;
};

} // namespace proxylist
