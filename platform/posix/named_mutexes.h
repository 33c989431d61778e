#pragma once

#include "platform/named_mutexes.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace platform::posix {

// Named mutexes as lock files in the runtime folder. Every open handle holds a
// shared flock on an open file description of its own, so a name exists
// exactly while a holder is alive and holds it, and a killed holder lets go by
// itself. Create, Close and Exists take turns through a guard lock in the same
// folder, so two creators never both see a new name and the last holder can
// remove the lock file.
//
// An empty name makes an unnamed mutex, as on Windows: a handle that no name
// refers to. A child forked without exec shares its parent's locks until it
// exits, like an inherited handle; descriptors are closed on exec.
class LockFileMutexes : public NamedMutexes {
public:
    Created Create(std::string_view name) override;
    void Close(Handle handle) override;
    bool Exists(std::string_view name) override;

private:
    // The lock file of each open handle; empty for an unnamed mutex.
    std::unordered_map<Handle, std::string> lockPaths_;
};

// The file name in the runtime folder that stands for a mutex name. "Local\"
// is dropped, as Windows treats it like a plain name; "Global\" is kept, so
// such names stay apart from plain ones. Bytes outside [A-Za-z0-9_.-] become
// %XX. Nothing for a name Windows refuses (a backslash outside the prefix, no
// text after it) or one too long for a file name.
std::optional<std::string> LockFileName(std::string_view mutexName);

// The name of the guard lock file beside the lock files; no mutex name maps
// to it.
std::string GuardFileName();

} // namespace platform::posix
