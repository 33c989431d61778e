#pragma once

#include "platform/registry.h"

#include <functional>
#include <map>
#include <string>

namespace platform::posix {

// A current-user hive kept in a text file that every process of the user
// shares. Each write re-reads and replaces the whole file under an exclusive
// lock on "<hive>.lock", so writers in other processes lose nothing; reads
// take the lock shared. The program reaches the registry from one thread
// only, so there is no in-process lock.
class HiveRegistry : public Registry {
public:
    explicit HiveRegistry(std::string hivePath);
    // Asks for the hive's path at each CreateKey; an open key stays with the
    // hive it was opened in.
    explicit HiveRegistry(std::function<std::string()> hivePath);

    WinError CreateKey(std::string_view subKey, std::uint32_t access, Key* key) override;
    WinError SetValue(Key key, std::string_view name, std::uint32_t type,
                      const std::vector<std::uint8_t>& data) override;
    WinError QueryValue(Key key, std::string_view name, std::uint32_t* type,
                        std::vector<std::uint8_t>* data) override;
    WinError DeleteValue(Key key, std::string_view name) override;
    void CloseKey(Key key) override;

private:
    struct OpenKey {
        std::string hivePath;
        std::string path;
        std::uint32_t access;
    };

    const OpenKey* FindOpenKey(Key key) const;

    std::function<std::string()> hivePath_;
    std::map<Key, OpenKey> openKeys_;
    Key lastKey_ = kNoKey;
};

} // namespace platform::posix
