#pragma once

#include <chrono>
#include <string>

namespace platform::posix {

// A lock file made the way Qt's QLockFile makes it on Unix, so that Qt
// programs (KDE's configuration writers among them) and this one take turns.
// The file is created exclusively and names its owner in lines of its own:
// pid, program name, host name, machine id, boot id. It goes with the
// object. One that QLockFile would call stale (its owner no longer runs on
// this machine, or it is older than 30 seconds) is removed and taken over.
class QtLockFile {
public:
    // Waits up to `patience` while another process holds the lock. Throws
    // FileError naming the lock file when it stays held or cannot be made.
    QtLockFile(const std::string& path, std::chrono::milliseconds patience);
    ~QtLockFile();
    QtLockFile(const QtLockFile&) = delete;
    QtLockFile& operator=(const QtLockFile&) = delete;

private:
    QtLockFile() = default;
    // One attempt, taking over a stale lock; false while another holds it.
    bool TryLock(const std::string& path);

    std::string path_;
    int fd_ = -1;
};

} // namespace platform::posix
