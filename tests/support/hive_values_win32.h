#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace test_support {

// The values the program keeps in the current user's hive (the proxy values
// of the Internet Settings key, the language value), taken out for the
// object's lifetime and put back as they were after it. The real hive can't
// be swapped for an empty one, so this is how a test starts from a machine
// that has none of them.
class SetAsideHiveValues {
public:
    SetAsideHiveValues();
    ~SetAsideHiveValues();
    SetAsideHiveValues(const SetAsideHiveValues&) = delete;
    SetAsideHiveValues& operator=(const SetAsideHiveValues&) = delete;

private:
    struct Saved {
        std::wstring key;
        std::wstring name;
        // Nothing when the value was not there.
        std::optional<std::uint32_t> type;
        std::vector<std::uint8_t> data;
    };

    std::vector<Saved> saved_;
};

} // namespace test_support
