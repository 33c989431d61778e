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

[[noreturn]] void ThrowOpenError(const std::string& path, int error)
{
    throw FileError("Cannot open file \"" + path + "\". " + Reason(error));
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
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return mkdir(folder.c_str(), 0700) == 0;
}

std::string ReadWholeFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        ThrowOpenError(path, errno);
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
