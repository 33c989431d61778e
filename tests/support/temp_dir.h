#pragma once

#ifdef _WIN32
#include "tests/support/hive_values_win32.h"
#endif

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
    // PATH, the platform's folder separator, name
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

// Points APPDATA and TEMP at folders of a fresh TempDir, so a test sees an
// empty data folder. On Linux XDG_CONFIG_HOME and XDG_RUNTIME_DIR follow, for
// an empty hive and no named mutexes of anybody else, and the session bus is
// out of reach, so no desktop's proxy setting changes. Windows keeps the hive
// and the named objects per session: there the program's values in the hive
// are set aside instead, and tests that use them or named mutexes take turns.
class IsolatedUserEnvironment {
public:
    IsolatedUserEnvironment();

    const TempDir& Root() const { return root_; }

private:
    TempDir root_;
    ScopedEnv appData_;
    ScopedEnv temp_;
#ifdef _WIN32
    SetAsideHiveValues hiveValues_;
#else
    ScopedEnv configHome_;
    ScopedEnv runtimeDir_;
    // Without it the program would reach the user's own desktop settings.
    ScopedEnv sessionBus_;
#endif
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::string_view bytes);

} // namespace test_support
