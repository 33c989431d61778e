#pragma once

#include <string>

namespace test_support {

// A file that exists while the object lives but that nobody can open, root
// and administrators included: a socket file on Linux, a file held open
// without sharing on Windows.
class UnopenableFile {
public:
    explicit UnopenableFile(const std::string& path);
    ~UnopenableFile();
    UnopenableFile(const UnopenableFile&) = delete;
    UnopenableFile& operator=(const UnopenableFile&) = delete;

private:
    void* holder_ = nullptr;
};

} // namespace test_support
