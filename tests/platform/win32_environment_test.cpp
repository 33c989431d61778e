#include "platform/environment.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace platform {
namespace {

using test_support::ScopedEnv;

TEST(Win32DataFolder, IsAppDataFollowedByHopvaneAndABackslash)
{
    ScopedEnv appData("APPDATA", "C:\\Users\\u\\AppData\\Roaming");
    EXPECT_EQ(AppDataFolder(), "C:\\Users\\u\\AppData\\Roaming");
    EXPECT_EQ(DataFolder(), "C:\\Users\\u\\AppData\\Roaming\\Hopvane\\");
    EXPECT_EQ(PathSeparator(), '\\');
}

TEST(Win32DataFolder, UnsetAppDataLeavesOnlyTheProgramsPart)
{
    ScopedEnv appData("APPDATA", std::nullopt);
    EXPECT_EQ(AppDataFolder(), "");
    EXPECT_EQ(DataFolder(), "\\Hopvane\\");
}

TEST(Win32TempFolder, IsTheValueOfTemp)
{
    ScopedEnv temp("TEMP", "D:\\t");
    ScopedEnv tmp("TMP", "D:\\other");
    EXPECT_EQ(TempFolder(), "D:\\t");
}

TEST(Win32EnvironmentValue, TellsUnsetFromEmptyAndKeepsNonAsciiText)
{
    ScopedEnv unset("HOPVANE_TEST_VALUE", std::nullopt);
    EXPECT_EQ(EnvironmentValue("HOPVANE_TEST_VALUE"), std::nullopt);
    ScopedEnv empty("HOPVANE_TEST_VALUE", "");
    EXPECT_EQ(EnvironmentValue("HOPVANE_TEST_VALUE"), std::optional<std::string>(""));

    // Set through the system's own call, so the value did not pass through
    // our conversion on the way in.
    ASSERT_TRUE(
        SetEnvironmentVariableW(L"HOPVANE_TEST_VALUE", L"C:\\U\\\u010Cesk\u00FD \U0001F600"));
    EXPECT_EQ(EnvironmentValue("HOPVANE_TEST_VALUE"),
              std::optional<std::string>("C:\\U\\\xC4\x8C"
                                         "esk\xC3\xBD \xF0\x9F\x98\x80"));
}

TEST(Win32EnvironmentValue, ReadsValuesLongerThanAnyFirstGuess)
{
    // Windows allows 32767 characters.
    const std::string value(20000, 'v');
    ScopedEnv longValue("HOPVANE_TEST_VALUE", value);
    EXPECT_EQ(EnvironmentValue("HOPVANE_TEST_VALUE"), std::optional<std::string>(value));
}

TEST(Win32ExecutablePath, IsTheFullWindowsPathOfThisProgram)
{
    const std::string path = ExecutablePath();
    EXPECT_NE(path.find("\\hopvane_platform_tests.exe"), std::string::npos) << path;
    EXPECT_EQ(path.find('/'), std::string::npos) << path;
    EXPECT_EQ(path.substr(1, 2), ":\\") << path;
}

} // namespace
} // namespace platform
