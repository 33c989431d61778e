#include "tests/support/fake_registry.h"

#include <sstream>

namespace test_support {

platform::WinError FakeRegistry::CreateKey(std::string_view subKey, std::uint32_t access, Key* key)
{
    std::ostringstream call;
    call << "create " << subKey << " 0x" << std::hex << access;
    calls.push_back(call.str());
    if (failCreateKey)
        return platform::kErrorAccessDenied;
    keys[std::string(subKey)];
    *key = nextKey_++;
    open_[*key] = std::string(subKey);
    return platform::kErrorSuccess;
}

platform::WinError FakeRegistry::SetValue(Key key, std::string_view name, std::uint32_t type,
                                          const std::vector<std::uint8_t>& data)
{
    calls.push_back("set " + std::string(name) + " " + std::to_string(type) + " " +
                    std::to_string(data.size()));
    const auto it = open_.find(key);
    if (it == open_.end())
        return platform::kErrorInvalidHandle;
    if (failSetValue.count(std::string(name)))
        return platform::kErrorAccessDenied;
    keys[it->second][std::string(name)] = Value{type, data};
    return platform::kErrorSuccess;
}

platform::WinError FakeRegistry::QueryValue(Key key, std::string_view name, std::uint32_t* type,
                                            std::vector<std::uint8_t>* data)
{
    calls.push_back("query " + std::string(name));
    const auto it = open_.find(key);
    if (it == open_.end())
        return platform::kErrorInvalidHandle;
    const auto& values = keys[it->second];
    const auto value = values.find(std::string(name));
    if (value == values.end())
        return platform::kErrorFileNotFound;
    *type = value->second.type;
    *data = value->second.data;
    return platform::kErrorSuccess;
}

platform::WinError FakeRegistry::DeleteValue(Key key, std::string_view name)
{
    calls.push_back("delete " + std::string(name));
    const auto it = open_.find(key);
    if (it == open_.end())
        return platform::kErrorInvalidHandle;
    if (failSetValue.count(std::string(name)))
        return platform::kErrorAccessDenied;
    return keys[it->second].erase(std::string(name)) ? platform::kErrorSuccess
                                                     : platform::kErrorFileNotFound;
}

void FakeRegistry::CloseKey(Key key)
{
    calls.push_back("close");
    open_.erase(key);
}

} // namespace test_support
