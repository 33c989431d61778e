#include "platform/win32/wide_text.h"
#include "tests/support/temp_dir.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace test_support {

namespace {

using platform::win32::FromWide;
using platform::win32::ToWide;

std::filesystem::path PathOf(const std::string& utf8)
{
    return std::filesystem::path(ToWide(utf8));
}

std::string MakeTempFolder()
{
    wchar_t base[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH)
        throw std::runtime_error("GetTempPathW failed");
    static unsigned counter = 0;
    for (;;) {
        const std::wstring path = std::wstring(base, length) + L"hopvane-test-" +
                                  std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(++counter);
        if (CreateDirectoryW(path.c_str(), nullptr))
            return FromWide(path);
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a folder in " + FromWide(base));
    }
}

std::string MakeSubFolder(const TempDir& root, const char* name)
{
    std::string path = root.File(name);
    std::filesystem::create_directory(PathOf(path));
    return path;
}

std::optional<std::string> VariableValue(const std::string& name)
{
    const std::wstring wideName = ToWide(name);
    SetLastError(ERROR_SUCCESS);
    const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0)
        return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt
                                                        : std::optional<std::string>("");
    std::vector<wchar_t> value(size);
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
    return FromWide(std::wstring_view(value.data(), length));
}

void SetVariable(const std::string& name, const std::optional<std::string>& value)
{
    SetEnvironmentVariableW(ToWide(name).c_str(), value ? ToWide(*value).c_str() : nullptr);
}

} // namespace

TempDir::TempDir() : path_(MakeTempFolder()) {}

TempDir::~TempDir()
{
    // Read-only files would stop the removal.
    std::error_code ignored;
    const std::filesystem::path root = PathOf(path_);
    for (auto& entry : std::filesystem::recursive_directory_iterator(root, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(root, ignored);
}

std::string TempDir::File(std::string_view name) const
{
    return path_ + "\\" + std::string(name);
}

ScopedEnv::ScopedEnv(std::string name, std::optional<std::string> value) : name_(std::move(name))
{
    saved_ = VariableValue(name_);
    SetVariable(name_, value);
}

ScopedEnv::~ScopedEnv()
{
    SetVariable(name_, saved_);
}

IsolatedUserEnvironment::IsolatedUserEnvironment()
    : appData_("APPDATA", MakeSubFolder(root_, "appdata")),
      temp_("TEMP", MakeSubFolder(root_, "temp"))
{
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(PathOf(path), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace test_support
