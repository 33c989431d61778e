#include "platform/win32/wide_text.h"
#include "tests/support/unopenable_file.h"

#include <windows.h>

#include <stdexcept>

namespace test_support {

UnopenableFile::UnopenableFile(const std::string& path)
{
    const HANDLE file = CreateFileW(platform::win32::ToWide(path).c_str(), GENERIC_WRITE, 0,
                                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + path);
    holder_ = file;
}

UnopenableFile::~UnopenableFile()
{
    CloseHandle(holder_);
}

} // namespace test_support
