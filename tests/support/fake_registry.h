#pragma once

#include "platform/registry.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace test_support {

// An in-memory hive that records every call and fails where a test asks it
// to, for the cases a real hive can't be made to produce on demand.
class FakeRegistry final : public platform::Registry {
public:
    struct Value {
        std::uint32_t type = platform::kRegNone;
        std::vector<std::uint8_t> data;
    };

    platform::WinError CreateKey(std::string_view subKey, std::uint32_t access, Key* key) override;
    platform::WinError SetValue(Key key, std::string_view name, std::uint32_t type,
                                const std::vector<std::uint8_t>& data) override;
    platform::WinError QueryValue(Key key, std::string_view name, std::uint32_t* type,
                                  std::vector<std::uint8_t>* data) override;
    platform::WinError DeleteValue(Key key, std::string_view name) override;
    void CloseKey(Key key) override;

    // Calls as text, in order: "create PATH ACCESS", "set NAME TYPE SIZE",
    // "query NAME", "delete NAME", "close".
    std::vector<std::string> calls;
    std::map<std::string, std::map<std::string, Value>> keys;
    bool failCreateKey = false;
    std::set<std::string> failSetValue;
    std::size_t OpenKeys() const { return open_.size(); }

private:
    std::map<Key, std::string> open_;
    Key nextKey_ = 1;
};

} // namespace test_support
