#include "platform/posix/file_lock.h"

#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform::posix {

bool MakeDirectories(const std::string& path)
{
    if (path.empty())
        return false;
    struct stat st {};
    if (stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const auto slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(path.substr(0, slash)))
        return false;
    return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

FileLock::FileLock(const std::string& lockPath, Mode mode)
{
    fd_ = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0)
        fd_ = open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        throw FileError("Cannot open file \"" + lockPath + "\". " + std::strerror(errno));
    const int operation = mode == Mode::Exclusive ? LOCK_EX : LOCK_SH;
    while (flock(fd_, operation) != 0) {
        if (errno != EINTR) {
            const int error = errno;
            close(fd_);
            throw FileError("Cannot lock file \"" + lockPath + "\". " + std::strerror(error));
        }
    }
}

FileLock::~FileLock()
{
    // Closing the descriptor releases the lock.
    close(fd_);
}

} // namespace platform::posix
