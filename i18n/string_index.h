#pragma once

#include "i18n/translation_data.h"

#include <string>
#include <string_view>
#include <vector>

namespace i18n {

// A window's string table sorted by ID without regard to letter case, so a
// lookup halves its way to the ID. Built once; lookups only read, which is
// what lets the worker thread use it unguarded.
class StringIndex {
public:
    struct Item {
        std::string id;
        std::vector<std::string> texts;
    };

    explicit StringIndex(const std::vector<TableLine>& lines);

    // The item of that ID, or nullptr.
    const Item* Find(std::string_view id) const;

private:
    std::vector<Item> items_;
};

} // namespace i18n
