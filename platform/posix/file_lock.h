#pragma once

#include <string>

namespace platform::posix {

// An flock on a lock file of its own, held for the object's lifetime, so
// that processes taking turns at a read-modify-write of a shared file lose
// nothing. The lock file is created when missing and never removed.
class FileLock {
public:
    enum class Mode { Shared, Exclusive };

    // Blocks until the lock is held. Throws FileError when the lock file
    // can't be opened; its folder must exist.
    FileLock(const std::string& lockPath, Mode mode);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_ = -1;
};

// Creates the folder and any missing parents with mode 0700.
bool MakeDirectories(const std::string& path);

} // namespace platform::posix
