#include "platform/files.h"

#include "platform/win32/system_message.h"
#include "platform/win32/wide_text.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <utility>

namespace platform {

namespace {

constexpr char kNotARegularFile[] = "Not a regular file.";

[[noreturn]] void ThrowOpenError(const std::string& path, const std::string& reason)
{
    throw FileError("Cannot open file \"" + path + "\". " + reason);
}

[[noreturn]] void ThrowOpenError(const std::string& path, DWORD error)
{
    ThrowOpenError(path, win32::SystemMessage(error));
}

[[noreturn]] void ThrowCreateError(const std::string& path, DWORD error)
{
    throw FileError("Cannot create file \"" + path + "\". " + win32::SystemMessage(error));
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::string FolderOf(const std::string& path)
{
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? "." : path.substr(0, separator);
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(FileHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE))
    {
    }
    ~FileHandle()
    {
        if (IsOpen())
            CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle& operator=(FileHandle&&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // False with the reason in GetLastError.
    bool Close() { return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0; }

private:
    HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr))
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// A new file beside the target, under a name no other writer picks; not open
// when the folder does not take it (the reason in GetLastError).
FileHandle CreateFileBeside(const std::string& path, std::wstring* tempPath)
{
    static std::atomic<unsigned> counter{0};
    const std::string prefix =
        FolderOf(path) + "\\.hopvane-" + std::to_string(GetCurrentProcessId()) + "-";
    for (;;) {
        *tempPath = win32::ToWide(prefix + std::to_string(++counter) + ".tmp");
        FileHandle file(CreateFileW(tempPath->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.IsOpen() || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
}

DWORD Attributes(const std::string& path)
{
    return GetFileAttributesW(win32::ToWide(path).c_str());
}

} // namespace

bool FileExists(const std::string& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeDirectory(const std::string& path)
{
    std::string folder = path;
    while (folder.size() > 1 && IsSeparator(folder.back()))
        folder.pop_back();
    return CreateDirectoryW(win32::ToWide(folder).c_str(), nullptr) != 0;
}

bool FolderIsWritable(const std::string& folder)
{
    const std::string probe = folder + "\\.hopvane-probe-" + std::to_string(GetCurrentProcessId());
    const HANDLE file =
        CreateFileW(win32::ToWide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool RemoveFile(const std::string& path)
{
    return DeleteFileW(win32::ToWide(path).c_str()) != 0;
}

bool MakeDataFolder(const std::string& path)
{
    return MakeDirectory(path) || DirectoryExists(path);
}

std::string ReadWholeFile(const std::string& path)
{
    // Sharing reads only: a writer elsewhere, already there or coming, is
    // turned away while the file is read.
    FileHandle file(CreateFileW(win32::ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        ThrowOpenError(path, GetLastError());
    // A pipe or a device such as CON may wait for input or never end.
    if (GetFileType(file.Get()) != FILE_TYPE_DISK)
        ThrowOpenError(path, kNotARegularFile);
    std::string content;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr))
            ThrowOpenError(path, GetLastError());
        if (got == 0)
            break;
        content.append(buffer, got);
    }
    return content;
}

void ReplaceFileContent(const std::string& path, std::string_view bytes)
{
    if (DirectoryExists(path))
        ThrowCreateError(path, ERROR_ACCESS_DENIED);
    std::wstring tempPath;
    FileHandle temp = CreateFileBeside(path, &tempPath);
    if (!temp.IsOpen())
        ThrowCreateError(path, GetLastError());
    const bool written = WriteAll(temp.Get(), bytes) && FlushFileBuffers(temp.Get());
    const bool replaced = written && temp.Close() &&
                          MoveFileExW(tempPath.c_str(), win32::ToWide(path).c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced) {
        const DWORD error = GetLastError();
        if (temp.IsOpen())
            temp.Close();
        DeleteFileW(tempPath.c_str());
        ThrowCreateError(path, error);
    }
}

void AppendToFile(const std::string& path, std::string_view bytes)
{
    // Append-only access makes every write land whole at the end, whoever
    // else appends meanwhile.
    FileHandle file(CreateFileW(win32::ToWide(path).c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        ThrowOpenError(path, GetLastError());
    if (!WriteAll(file.Get(), bytes))
        ThrowOpenError(path, GetLastError());
}

WritableFile::WritableFile(const std::string& path)
    : path_(path), handle_(CreateFileW(win32::ToWide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
{
    if (handle_ == INVALID_HANDLE_VALUE)
        ThrowCreateError(path_, GetLastError());
}

WritableFile::~WritableFile()
{
    CloseHandle(handle_);
}

void WritableFile::Write(std::string_view bytes)
{
    if (!WriteAll(handle_, bytes))
        ThrowCreateError(path_, GetLastError());
}

void WritableFile::CutOffRest()
{
    // SetEndOfFile ends the file at its pointer, which the writes moved on.
    if (GetFileType(handle_) == FILE_TYPE_DISK && !SetEndOfFile(handle_))
        ThrowCreateError(path_, GetLastError());
}

} // namespace platform
