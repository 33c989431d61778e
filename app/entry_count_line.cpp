#include "app/entry_count_line.h"

#include <utility>

namespace app {

EntryCountLine::EntryCountLine(proxylist::ProxyList& list, Show show)
    : list_(list), show_(std::move(show))
{
    list_.AddObserver(this);
    Update();
}

EntryCountLine::~EntryCountLine()
{
    list_.RemoveObserver(this);
}

} // namespace app
