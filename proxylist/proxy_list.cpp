#include "proxylist/proxy_list.h"

#include "platform/files.h"
#include "platform/text_case.h"
#include "proxylist/list_format.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace proxylist {

void ProxyList::LoadFromFile(const std::string& path)
{
    DecodedListFile file = DecodeListFile(platform::ReadWholeFile(path));
    fileEncoding_ = file.encoding;
    ReplaceLines(SplitListText(file.text));
}

void ProxyList::SaveToFile(const std::string& path) const
{
    platform::ReplaceFileContent(path, EncodeListFile(Text(), fileEncoding_));
}

std::string ProxyList::Text() const
{
    return JoinListText(lines_);
}

void ProxyList::SetText(std::string_view text)
{
    ReplaceLines(SplitListText(text));
}

int ProxyList::IndexOf(std::string_view entry) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (platform::EqualsIgnoreCase(lines_[i], entry))
            return static_cast<int>(i);
    }
    return -1;
}

void ProxyList::Add(std::string entry)
{
    lines_.push_back(std::move(entry));
    Notify([this](ProxyListObserver& observer) { observer.RowInserted(Count() - 1); });
}

void ProxyList::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    lines_.erase(lines_.begin() + index);
    const int selectedBefore = itemIndex_;
    if (index == itemIndex_)
        itemIndex_ = -1;
    else if (index < itemIndex_)
        --itemIndex_;
    // The selection is already consistent with the shorter list when the
    // observer hears of the removal.
    Notify([index](ProxyListObserver& observer) { observer.RowRemoved(index); });
    if (itemIndex_ != selectedBefore)
        NotifySelection();
}

void ProxyList::Clear()
{
    ReplaceLines({});
}

int ProxyList::Count() const
{
    return static_cast<int>(lines_.size());
}

const std::string& ProxyList::Line(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    return lines_[static_cast<std::size_t>(index)];
}

void ProxyList::SetItemIndex(int index)
{
    if (index < -1 || index >= Count())
        return;
    itemIndex_ = index;
    NotifySelection();
}

std::optional<std::string> ProxyList::SelectedEntry() const
{
    if (itemIndex_ < 0 || itemIndex_ >= Count())
        return std::nullopt;
    return lines_[static_cast<std::size_t>(itemIndex_)];
}

void ProxyList::ReplaceLines(std::vector<std::string> lines)
{
    lines_ = std::move(lines);
    const bool wasSelected = itemIndex_ != -1;
    itemIndex_ = -1;
    Notify([](ProxyListObserver& observer) { observer.ContentReset(); });
    if (wasSelected)
        NotifySelection();
}

void ProxyList::AddObserver(ProxyListObserver* observer)
{
    observers_.push_back(observer);
}

void ProxyList::RemoveObserver(ProxyListObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

template <typename Event> void ProxyList::Notify(const Event& event) const
{
    for (ProxyListObserver* observer : observers_)
        event(*observer);
}

void ProxyList::NotifySelection() const
{
    Notify([this](ProxyListObserver& observer) { observer.SelectionChanged(itemIndex_); });
}

} // namespace proxylist
