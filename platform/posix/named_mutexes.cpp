#include "platform/posix/named_mutexes.h"

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/posix/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <memory>

namespace platform::posix {

namespace {

constexpr std::string_view kLocalPrefix = "Local\\";
constexpr std::string_view kGlobalPrefix = "Global\\";
constexpr std::string_view kLockFileSuffix = ".mutex";

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool IsKeptAsIs(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.' || c == '-';
}

std::string Escaped(std::string_view name)
{
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : name) {
        if (IsKeptAsIs(c)) {
            out += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        out += '%';
        out += kHexDigits[byte >> 4];
        out += kHexDigits[byte & 0x0F];
    }
    return out;
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('/') + 1);
}

// Null when the guard can't be taken; then nothing in the folder can change.
std::unique_ptr<FileLock> TakeGuard(const std::string& folder)
{
    try {
        return std::make_unique<FileLock>(folder + GuardFileName(), FileLock::Mode::Exclusive);
    } catch (const FileError&) {
        return nullptr;
    }
}

// Some other open file description holds a lock on the file. Only asked under
// the guard, so the probe's own exclusive lock never disturbs anybody.
bool IsHeld(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}

// Whether no other open file description holds a lock on the file, asked
// through the caller's own new descriptor, which is left locked exclusively
// or not at all. Only asked under the guard.
bool OnlyHolder(int fd)
{
    return flock(fd, LOCK_EX | LOCK_NB) == 0;
}

NamedMutexes::Handle HandleOf(int fd)
{
    return static_cast<NamedMutexes::Handle>(fd) + 1;
}

int DescriptorOf(NamedMutexes::Handle handle)
{
    return static_cast<int>(handle - 1);
}

} // namespace

std::optional<std::string> LockFileName(std::string_view mutexName)
{
    std::string_view name = mutexName;
    if (StartsWith(name, kLocalPrefix))
        name.remove_prefix(kLocalPrefix.size());
    const std::string_view own =
        StartsWith(name, kGlobalPrefix) ? name.substr(kGlobalPrefix.size()) : name;
    if (own.empty() || own.find('\\') != std::string_view::npos)
        return std::nullopt;
    std::string fileName = Escaped(name) + std::string(kLockFileSuffix);
    if (fileName.size() > NAME_MAX)
        return std::nullopt;
    return fileName;
}

std::string GuardFileName()
{
    // A mutex's file always ends in the suffix, so this name is never one.
    return "guard.lock";
}

NamedMutexes::Created LockFileMutexes::Create(std::string_view name)
{
    if (name.empty()) {
        const int fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return {kNoHandle, kErrorAccessDenied};
        lockPaths_[HandleOf(fd)] = std::string();
        return {HandleOf(fd), kErrorSuccess};
    }
    const auto fileName = LockFileName(name);
    if (!fileName)
        return {kNoHandle, kErrorInvalidName};
    const std::string folder = RuntimeFolder() + "/";
    const std::string path = folder + *fileName;
    MakeDirectories(folder);
    const auto guard = TakeGuard(folder);
    if (!guard)
        return {kNoHandle, kErrorAccessDenied};
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return {kNoHandle, kErrorAccessDenied};
    // Under the guard nobody else probes: a lock of our own turns exclusive
    // exactly when no other holder has the name.
    const bool existed = !OnlyHolder(fd);
    if (flock(fd, LOCK_SH | LOCK_NB) != 0) {
        close(fd);
        return {kNoHandle, kErrorAccessDenied};
    }
    lockPaths_[HandleOf(fd)] = path;
    return {HandleOf(fd), existed ? kErrorAlreadyExists : kErrorSuccess};
}

void LockFileMutexes::Close(Handle handle)
{
    const auto entry = lockPaths_.find(handle);
    if (entry == lockPaths_.end())
        return;
    const std::string path = std::move(entry->second);
    lockPaths_.erase(entry);
    if (path.empty()) {
        close(DescriptorOf(handle));
        return;
    }
    const auto guard = TakeGuard(FolderOf(path));
    close(DescriptorOf(handle));
    // Asked through a new description: a forked child may share this one.
    if (guard && !IsHeld(path))
        unlink(path.c_str());
}

bool LockFileMutexes::Exists(std::string_view name)
{
    const auto fileName = LockFileName(name);
    if (!fileName)
        return false;
    const std::string folder = RuntimeFolder() + "/";
    const std::string path = folder + *fileName;
    if (!FileExists(path))
        return false;
    const auto guard = TakeGuard(folder);
    return guard && IsHeld(path);
}

} // namespace platform::posix

namespace platform {

NamedMutexes& SystemNamedMutexes()
{
    static posix::LockFileMutexes mutexes;
    return mutexes;
}

} // namespace platform
