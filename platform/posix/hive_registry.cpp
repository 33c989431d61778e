#include "platform/posix/hive_registry.h"

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/posix/file_lock.h"
#include "platform/posix/hive_format.h"

#include <optional>

namespace platform {

namespace posix {

namespace {

std::string LockPath(const std::string& hivePath)
{
    return hivePath + ".lock";
}

// Throws FileError.
Hive ReadHive(const std::string& hivePath)
{
    return FileExists(hivePath) ? ParseHive(ReadWholeFile(hivePath)) : Hive();
}

// Throws FileError. The file is only ever replaced by a rename, so where the
// lock file can't be opened (a folder we may not write) the read goes ahead
// without the lock and still sees a whole file.
Hive ReadHiveShared(const std::string& hivePath)
{
    std::optional<FileLock> lock;
    try {
        lock.emplace(LockPath(hivePath), FileLock::Mode::Shared);
    } catch (const FileError&) {
    }
    return ReadHive(hivePath);
}

// The change is made to the file as it is now, not as this process last saw
// it, so what other processes wrote meanwhile is kept. Throws FileError.
void UpdateHive(const std::string& hivePath, const std::function<bool(Hive&)>& change)
{
    const auto slash = hivePath.find_last_of('/');
    if (slash != std::string::npos && slash > 0)
        MakeDirectories(hivePath.substr(0, slash));
    FileLock lock(LockPath(hivePath), FileLock::Mode::Exclusive);
    Hive hive = ReadHive(hivePath);
    if (change(hive))
        ReplaceFileContent(hivePath, PrintHive(hive));
}

} // namespace

HiveRegistry::HiveRegistry(std::string hivePath)
    : hivePath_([path = std::move(hivePath)] { return path; })
{
}

HiveRegistry::HiveRegistry(std::function<std::string()> hivePath) : hivePath_(std::move(hivePath))
{
}

WinError HiveRegistry::CreateKey(std::string_view subKey, std::uint32_t access, Key* key)
{
    if (!key)
        return kErrorInvalidParameter;
    *key = kNoKey;
    const std::optional<std::string> wanted = CanonicalKeyPath(subKey);
    if (!wanted)
        return kErrorBadPathname;
    const std::string hivePath = hivePath_();
    std::string path;
    try {
        const Hive hive = ReadHiveShared(hivePath);
        if (const HiveKey* existing = hive.FindKey(*wanted)) {
            path = existing->path;
        } else {
            UpdateHive(hivePath, [&](Hive& current) {
                const bool missing = current.FindKey(*wanted) == nullptr;
                path = current.CreateKey(*wanted).path;
                return missing;
            });
        }
    } catch (const FileError&) {
        return kErrorAccessDenied;
    }
    *key = ++lastKey_;
    openKeys_.emplace(*key, OpenKey{hivePath, path, access});
    return kErrorSuccess;
}

WinError HiveRegistry::SetValue(Key key, std::string_view name, std::uint32_t type,
                                const std::vector<std::uint8_t>& data)
{
    const OpenKey* open = FindOpenKey(key);
    if (!open)
        return kErrorInvalidHandle;
    if (!(open->access & kKeySetValue))
        return kErrorAccessDenied;
    if (!IsValidValueName(name))
        return kErrorInvalidParameter;
    try {
        // A key removed from the file meanwhile, by hand, comes back: the
        // handle still names it.
        UpdateHive(open->hivePath, [&](Hive& hive) {
            hive.CreateKey(open->path).SetValue(name, type, data);
            return true;
        });
    } catch (const FileError&) {
        return kErrorAccessDenied;
    }
    return kErrorSuccess;
}

WinError HiveRegistry::QueryValue(Key key, std::string_view name, std::uint32_t* type,
                                  std::vector<std::uint8_t>* data)
{
    const OpenKey* open = FindOpenKey(key);
    if (!open)
        return kErrorInvalidHandle;
    if (!(open->access & kKeyQueryValue))
        return kErrorAccessDenied;
    Hive hive;
    try {
        hive = ReadHiveShared(open->hivePath);
    } catch (const FileError&) {
        return kErrorAccessDenied;
    }
    const HiveKey* found = hive.FindKey(open->path);
    const HiveValue* value = found ? found->FindValue(name) : nullptr;
    if (!value)
        return kErrorFileNotFound;
    if (type)
        *type = value->type;
    if (data)
        *data = value->data;
    return kErrorSuccess;
}

WinError HiveRegistry::DeleteValue(Key key, std::string_view name)
{
    const OpenKey* open = FindOpenKey(key);
    if (!open)
        return kErrorInvalidHandle;
    if (!(open->access & kKeySetValue))
        return kErrorAccessDenied;
    bool removed = false;
    try {
        UpdateHive(open->hivePath, [&](Hive& hive) {
            HiveKey& found = hive.CreateKey(open->path);
            removed = found.RemoveValue(name);
            return removed;
        });
    } catch (const FileError&) {
        return kErrorAccessDenied;
    }
    return removed ? kErrorSuccess : kErrorFileNotFound;
}

void HiveRegistry::CloseKey(Key key)
{
    openKeys_.erase(key);
}

const HiveRegistry::OpenKey* HiveRegistry::FindOpenKey(Key key) const
{
    const auto found = openKeys_.find(key);
    return found == openKeys_.end() ? nullptr : &found->second;
}

} // namespace posix

Registry& CurrentUserRegistry()
{
    // The environment of the moment decides which hive a key opens in.
    static posix::HiveRegistry registry([] { return ServiceStateFolder() + "/HKCU.reg"; });
    return registry;
}

} // namespace platform
