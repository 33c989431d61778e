#include "platform/posix/qt_lock_file.h"

#include "platform/files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

namespace platform::posix {

namespace {

// QLockFile's default: a lock this old is left over, whoever wrote it.
constexpr std::chrono::milliseconds kStaleAge{30000};

// The first bytes of the file, in a single read as Qt takes them; none when
// it cannot be opened (errno tells why) or read.
std::optional<std::string> ReadStart(const char* path, std::size_t size)
{
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string bytes(size, '\0');
    ssize_t got = 0;
    do
        got = read(fd, bytes.data(), size);
    while (got < 0 && errno == EINTR);
    close(fd);
    if (got < 0)
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(got));
    return bytes;
}

std::string BaseName(const std::string& path)
{
    return path.substr(path.find_last_of('/') + 1);
}

// Qt's name for the process: its program's file name; empty without /proc,
// and a name no program has once the pid cannot be looked at.
std::string ProgramName(long long pid)
{
    if (access("/proc/version", F_OK) != 0)
        return {};
    char target[PATH_MAX];
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    const ssize_t length = readlink(link.c_str(), target, sizeof target);
    if (length <= 0)
        return "/ERROR/";
    std::string path(target, static_cast<std::size_t>(length));
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.size() >= kDeleted.size() &&
        path.compare(path.size() - kDeleted.size(), kDeleted.size(), kDeleted) == 0)
        path.resize(path.size() - kDeleted.size());
    return BaseName(path);
}

// What tells two machines and two boots apart, read from where Qt reads it.
struct Machine {
    std::string host;
    std::string id;
    std::string bootId;
};

Machine ThisMachine()
{
    Machine machine;
    utsname names{};
    if (uname(&names) == 0)
        machine.host = names.nodename;
    std::optional<std::string> id = ReadStart("/var/lib/dbus/machine-id", 32);
    if (!id && errno == ENOENT)
        id = ReadStart("/usr/local/var/lib/dbus/machine-id", 32);
    machine.id = id.value_or("");
    const std::string boot = ReadStart("/proc/sys/kernel/random/boot_id", 36).value_or("");
    if (boot.size() == 36)
        machine.bootId = boot;
    return machine;
}

std::string OwnerLines()
{
    const long long pid = getpid();
    const Machine machine = ThisMachine();
    return std::to_string(pid) + '\n' + ProgramName(pid) + '\n' + machine.host + '\n' + machine.id +
           '\n' + machine.bootId + '\n';
}

struct Owner {
    long long pid = 0;
    std::string program;
    Machine machine;
};

std::optional<Owner> ReadOwner(const std::string& path)
{
    const std::optional<std::string> text = ReadStart(path.c_str(), 4096);
    if (!text)
        return std::nullopt;
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (lines.size() < 5 && start < text->size()) {
        const std::size_t end = std::min(text->find('\n', start), text->size());
        lines.push_back(text->substr(start, end - start));
        start = end + 1;
    }
    lines.resize(5);
    char* end = nullptr;
    Owner owner;
    owner.pid = std::strtoll(lines[0].c_str(), &end, 10);
    if (lines[0].empty() || *end != '\0' || owner.pid <= 0)
        return std::nullopt;
    owner.program = lines[1];
    owner.machine = {lines[2], lines[3], lines[4]};
    return owner;
}

bool IsRunning(const Owner& owner)
{
    if (kill(static_cast<pid_t>(owner.pid), 0) != 0 && errno == ESRCH)
        return false;
    // A pid taken over by another program leaves the lock behind as well.
    const std::string name = ProgramName(owner.pid);
    return name.empty() || name == BaseName(owner.program);
}

bool IsApparentlyStale(const std::string& path)
{
    if (const std::optional<Owner> owner = ReadOwner(path)) {
        const Machine here = ThisMachine();
        bool sameHost = owner->machine.host.empty() || owner->machine.host == here.host;
        if (!owner->machine.id.empty() && !here.id.empty())
            sameHost = owner->machine.id == here.id;
        if (sameHost && ((!owner->machine.bootId.empty() && owner->machine.bootId != here.bootId) ||
                         !IsRunning(*owner)))
            return true;
    }
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return false;
    const auto modified = std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(st.st_mtim.tv_sec) +
            std::chrono::nanoseconds(st.st_mtim.tv_nsec)));
    const auto age = std::chrono::system_clock::now() - modified;
    return age > kStaleAge || age < -kStaleAge;
}

// A live owner keeps an flock on its lock file, so only a lock without one
// goes.
bool RemoveStale(const std::string& path)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool removed = flock(fd, LOCK_EX | LOCK_NB) == 0 && unlink(path.c_str()) == 0;
    close(fd);
    return removed;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

QtLockFile::QtLockFile(const std::string& path, std::chrono::milliseconds patience)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    std::chrono::milliseconds pause{50};
    while (!TryLock(path)) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            throw FileError("Cannot lock file \"" + path + "\". Another program holds it.");
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds{500});
    }
}

QtLockFile::~QtLockFile()
{
    if (fd_ < 0)
        return;
    unlink(path_.c_str());
    close(fd_);
}

bool QtLockFile::TryLock(const std::string& path)
{
    for (;;) {
        const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            // As Qt's holders do: nobody removes a lock file with an flock on it.
            flock(fd, LOCK_EX | LOCK_NB);
            if (!WriteAll(fd, OwnerLines())) {
                const int error = errno;
                close(fd);
                unlink(path.c_str());
                throw FileError("Cannot create file \"" + path + "\". " + std::strerror(error));
            }
            fdatasync(fd);
            path_ = path;
            fd_ = fd;
            return true;
        }
        if (errno != EEXIST)
            throw FileError("Cannot create file \"" + path + "\". " + std::strerror(errno));
        if (!IsApparentlyStale(path))
            return false;
        // One remover at a time, as in Qt: a second one could take away the
        // lock that the first has just made.
        QtLockFile remover;
        if (!remover.TryLock(path + ".rmlock") || !IsApparentlyStale(path) || !RemoveStale(path))
            return false;
    }
}

} // namespace platform::posix
