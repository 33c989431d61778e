#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

std::string Reason(int error)
{
    return std::strerror(error);
}

[[noreturn]] void ThrowOpenError(const std::string& path, const std::string& reason)
{
    throw FileError("Cannot open file \"" + path + "\". " + reason);
}

[[noreturn]] void ThrowOpenError(const std::string& path, int error)
{
    ThrowOpenError(path, Reason(error));
}

[[noreturn]] void ThrowCreateError(const std::string& path, int error)
{
    throw FileError("Cannot create file \"" + path + "\". " + Reason(error));
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string WithoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// O_NONBLOCK keeps the open of a FIFO from waiting for a writer; reads of a
// regular file ignore it.
int OpenRegularFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        ThrowOpenError(path, errno);
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        return fd;
    close(fd);
    ThrowOpenError(path, S_ISDIR(st.st_mode) ? Reason(EISDIR) : "Not a regular file");
}

} // namespace

bool FileExists(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirectory(const std::string& path)
{
    return mkdir(WithoutTrailingSlashes(path).c_str(), 0700) == 0;
}

bool FolderIsWritable(const std::string& folder)
{
    std::string probe = folder + "/.hopvane-probe-XXXXXX";
    const int fd = mkostemp(probe.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    close(fd);
    unlink(probe.c_str());
    return true;
}

bool RemoveFile(const std::string& path)
{
    return unlink(path.c_str()) == 0;
}

bool MakeDataFolder(const std::string& path)
{
    const std::string folder = WithoutTrailingSlashes(path);
    // A parent that fails to appear fails the last level as well.
    for (auto slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1))
        mkdir(folder.substr(0, slash).c_str(), 0700);
    return MakeDirectory(folder) || DirectoryExists(folder);
}

std::string ReadWholeFile(const std::string& path)
{
    const int fd = OpenRegularFile(path);
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            close(fd);
            ThrowOpenError(path, error);
        }
        if (got == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return content;
}

void ReplaceFileContent(const std::string& path, std::string_view bytes)
{
    if (DirectoryExists(path))
        ThrowCreateError(path, EISDIR);
    std::string temp = FolderOf(path) + "/.hopvane-XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        ThrowCreateError(path, errno);
    struct stat old {};
    const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    fchmod(fd, mode);
    if (!WriteAll(fd, bytes) || fsync(fd) != 0) {
        const int error = errno;
        close(fd);
        unlink(temp.c_str());
        ThrowCreateError(path, error);
    }
    if (close(fd) != 0 || rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        unlink(temp.c_str());
        ThrowCreateError(path, error);
    }
}

void AppendToFile(const std::string& path, std::string_view bytes)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        ThrowOpenError(path, errno);
    // One write keeps the bytes together: O_APPEND places each write whole.
    const bool written = WriteAll(fd, bytes);
    const int error = errno;
    close(fd);
    if (!written)
        ThrowOpenError(path, error);
}

WritableFile::WritableFile(const std::string& path)
    : path_(path), fd_(open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644))
{
    if (fd_ < 0)
        ThrowCreateError(path_, errno);
}

WritableFile::~WritableFile()
{
    close(fd_);
}

void WritableFile::Write(std::string_view bytes)
{
    if (!WriteAll(fd_, bytes))
        ThrowCreateError(path_, errno);
}

void WritableFile::CutOffRest()
{
    struct stat st {};
    if (fstat(fd_, &st) != 0)
        ThrowCreateError(path_, errno);
    if (!S_ISREG(st.st_mode))
        return;
    const off_t position = lseek(fd_, 0, SEEK_CUR);
    if (position < 0)
        ThrowCreateError(path_, errno);
    if (st.st_size > position && ftruncate(fd_, position) != 0)
        ThrowCreateError(path_, errno);
}

} // namespace platform
