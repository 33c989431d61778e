#include "platform/environment.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

using test_support::ScopedEnv;

TEST(DataFolder, IsAppDataPlusHopvane)
{
    ScopedEnv appData("APPDATA", "/home/u/appdata");
    EXPECT_EQ(DataFolder(), "/home/u/appdata/Hopvane/");
    ScopedEnv trailing("APPDATA", "/home/u/appdata/");
    EXPECT_EQ(DataFolder(), "/home/u/appdata/Hopvane/");
}

TEST(DataFolder, FallsBackToXdgDataHomeThenHome)
{
    ScopedEnv appData("APPDATA", std::nullopt);
    ScopedEnv dataHome("XDG_DATA_HOME", "/xdg/data");
    EXPECT_EQ(DataFolder(), "/xdg/data/Hopvane/");
    ScopedEnv noDataHome("XDG_DATA_HOME", std::nullopt);
    ScopedEnv home("HOME", "/home/u");
    EXPECT_EQ(DataFolder(), "/home/u/.local/share/Hopvane/");
}

TEST(DataFolder, EmptyAppDataCountsAsUnset)
{
    ScopedEnv appData("APPDATA", "");
    ScopedEnv dataHome("XDG_DATA_HOME", "/xdg/data");
    EXPECT_EQ(DataFolder(), "/xdg/data/Hopvane/");
}

// A shared folder such as /tmp may hold another user's copy, which could not
// be replaced: the folder is always the user's own.
TEST(TempFolder, IsTheUsersOwn)
{
    test_support::TempDir home;
    ScopedEnv temp("TEMP", "/t1");
    ScopedEnv tmpdir("TMPDIR", "/tmp");
    ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/7");
    ScopedEnv cache("XDG_CACHE_HOME", home.Path());
    EXPECT_EQ(TempFolder(), "/t1");
    ScopedEnv noTemp("TEMP", std::nullopt);
    EXPECT_EQ(TempFolder(), "/run/user/7");
    ScopedEnv noRuntime("XDG_RUNTIME_DIR", std::nullopt);
    const std::string own = home.Path() + "/hopvane";
    EXPECT_EQ(TempFolder(), own);
    struct stat made {};
    ASSERT_EQ(stat(own.c_str(), &made), 0);
    EXPECT_EQ(made.st_mode & 0777, 0700u);
    EXPECT_EQ(made.st_uid, getuid());
}

TEST(ServiceFolders, FollowXdgVariables)
{
    ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
    ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/7");
    EXPECT_EQ(ServiceStateFolder(), "/cfg/hopvane");
    EXPECT_EQ(RuntimeFolder(), "/run/user/7/hopvane");
    ScopedEnv noConfig("XDG_CONFIG_HOME", std::nullopt);
    ScopedEnv home("HOME", "/home/u");
    EXPECT_EQ(ServiceStateFolder(), "/home/u/.config/hopvane");
}

TEST(ExecutablePath, NamesThisTestProgram)
{
    EXPECT_NE(ExecutablePath().find("hopvane_platform_tests"), std::string::npos);
}

} // namespace
} // namespace platform
