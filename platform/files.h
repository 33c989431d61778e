#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

// A file that could not be opened, read, created or written. The message
// names the file and the system's reason.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Creates one folder level; the parent must exist. False on failure.
bool MakeDirectory(const std::string& path);

// Whether a new file can be made in the folder, tried for real: rights,
// read-only mounts and the system's own folders all count.
bool FolderIsWritable(const std::string& folder);

// Removes the file; false when it could not (missing included).
bool RemoveFile(const std::string& path);

// Creates the program's data folder. On POSIX its missing parents come too,
// for the user only: a fresh account may lack ~/.local/share. On Windows the
// base folder always exists, and one level is made. True when the folder is
// there afterwards.
bool MakeDataFolder(const std::string& path);

// The whole file. Other programs may read it meanwhile but not write it. A
// FIFO or a device is refused: it may wait for a writer or never end.
// Throws FileError: Cannot open file "PATH". REASON
std::string ReadWholeFile(const std::string& path);

// Writes the bytes to a new file in the same folder and renames it over PATH,
// so a failed write (disk full, crash) leaves the earlier file intact.
// Throws FileError: Cannot create file "PATH". REASON
void ReplaceFileContent(const std::string& path, std::string_view bytes);

// Appends the bytes at the end of the file, creating it when missing; writers
// in other processes never interleave within one call's bytes.
// Throws FileError: Cannot open file "PATH". REASON
void AppendToFile(const std::string& path, std::string_view bytes);

// A file written from its start on, created when missing. What it held
// beyond the bytes written stays until CutOffRest. Every failure throws
// FileError: Cannot create file "PATH". REASON
class WritableFile {
public:
    explicit WritableFile(const std::string& path);
    ~WritableFile();
    WritableFile(const WritableFile&) = delete;
    WritableFile& operator=(const WritableFile&) = delete;

    // Writes at the file's position and moves the position on.
    void Write(std::string_view bytes);
    // Cuts off what the file holds after its position; a device or a pipe
    // holds nothing there.
    void CutOffRest();

private:
    std::string path_;
#ifdef _WIN32
    void* handle_;
#else
    int fd_;
#endif
};

} // namespace platform
