#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace test_support {

// A fresh folder under the system's temporary folder, removed with its
// content when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // PATH + "/" + name
    std::string File(std::string_view name) const;

private:
    std::string path_;
};

// Sets (or, with no value, unsets) an environment variable for the object's
// lifetime.
class ScopedEnv {
public:
    ScopedEnv(std::string name, std::optional<std::string> value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> saved_;
};

// Points APPDATA, TEMP, XDG_CONFIG_HOME and XDG_RUNTIME_DIR at folders of a
// fresh TempDir, so a test sees an empty data folder, an empty hive and no
// named mutexes of anybody else.
class IsolatedUserEnvironment {
public:
    IsolatedUserEnvironment();

    const TempDir& Root() const { return root_; }

private:
    TempDir root_;
    ScopedEnv appData_;
    ScopedEnv temp_;
    ScopedEnv configHome_;
    ScopedEnv runtimeDir_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::string_view bytes);

} // namespace test_support
