#include "i18n/string_index.h"

#include "platform/text_case.h"

#include <algorithm>

namespace i18n {

StringIndex::StringIndex(const std::vector<TableLine>& lines)
{
    items_.reserve(lines.size());
    for (const auto& line : lines)
        items_.push_back(Item{line.key, line.texts});
    std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
        return platform::CompareIgnoreCase(a.id, b.id) < 0;
    });
}

const StringIndex::Item* StringIndex::Find(std::string_view id) const
{
    const auto it = std::lower_bound(items_.begin(), items_.end(), id,
                                     [](const Item& item, std::string_view wanted) {
                                         return platform::CompareIgnoreCase(item.id, wanted) < 0;
                                     });
    if (it == items_.end() || platform::CompareIgnoreCase(it->id, id) != 0)
        return nullptr;
    return &*it;
}

} // namespace i18n
