#include "tests/support/temp_dir.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace test_support {

namespace {

std::string MakeTempFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/hopvane-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed for " + pattern);
    return pattern;
}

std::string MakeSubFolder(const TempDir& root, const char* name)
{
    std::string path = root.File(name);
    std::filesystem::create_directory(path);
    chmod(path.c_str(), 0700);
    return path;
}

} // namespace

TempDir::TempDir() : path_(MakeTempFolder()) {}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(std::string_view name) const
{
    return path_ + "/" + std::string(name);
}

ScopedEnv::ScopedEnv(std::string name, std::optional<std::string> value) : name_(std::move(name))
{
    if (const char* old = std::getenv(name_.c_str()))
        saved_ = old;
    if (value)
        setenv(name_.c_str(), value->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

ScopedEnv::~ScopedEnv()
{
    if (saved_)
        setenv(name_.c_str(), saved_->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

IsolatedUserEnvironment::IsolatedUserEnvironment()
    : appData_("APPDATA", MakeSubFolder(root_, "appdata")),
      temp_("TEMP", MakeSubFolder(root_, "temp")),
      configHome_("XDG_CONFIG_HOME", MakeSubFolder(root_, "config")),
      runtimeDir_("XDG_RUNTIME_DIR", MakeSubFolder(root_, "runtime")),
      sessionBus_("DBUS_SESSION_BUS_ADDRESS", std::nullopt)
{
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace test_support
