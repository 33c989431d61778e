#include "platform/system_version.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

struct NamedCase {
    unsigned major;
    unsigned minor;
    const char* name;
};

class WindowsNameTest : public ::testing::TestWithParam<NamedCase> {};

TEST_P(WindowsNameTest, NamesTheVersion)
{
    const NamedCase& c = GetParam();
    EXPECT_EQ(WindowsNameFor(c.major, c.minor), c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WindowsNameTest,
    ::testing::Values(
        NamedCase{4, 0, "Windows 95"}, NamedCase{4, 10, "Windows 98"},
        NamedCase{4, 90, "Windows ME"}, NamedCase{5, 0, "Windows 2000"},
        NamedCase{5, 1, "Windows XP"}, NamedCase{6, 0, "Windows Vista"},
        NamedCase{6, 1, "Windows 7"}, NamedCase{6, 2, "Windows 8"}, NamedCase{6, 3, "Windows 8.1"},
        NamedCase{10, 0, "Windows 10"}, NamedCase{6, 4, "Unknown (Windows 6.4)"},
        NamedCase{5, 2, "Unknown (Windows 5.2)"}, NamedCase{10, 1, "Unknown (Windows 10.1)"},
        NamedCase{11, 0, "Unknown (Windows 11.0)"}, NamedCase{0, 0, "Unknown (Windows 0.0)"}));

TEST(ResolveWindowsVersion, TrustsVersionExUpToWindows7)
{
    const auto v = ResolveWindowsVersion({6, 1}, VersionNumbers{10, 0}, VersionNumbers{10, 0});
    EXPECT_EQ(v.major, 6u);
    EXPECT_EQ(v.minor, 1u);
}

TEST(ResolveWindowsVersion, AsksTheWorkstationAboveWindows7)
{
    // Windows 11 and Server 2019 report 6.2 here and 10.0 to the workstation call.
    const auto v = ResolveWindowsVersion({6, 2}, VersionNumbers{10, 0}, VersionNumbers{6, 3});
    EXPECT_EQ(WindowsNameFor(v.major, v.minor), "Windows 10");
}

TEST(ResolveWindowsVersion, FallsBackToKernel32WhenTheWorkstationCallFails)
{
    const auto v = ResolveWindowsVersion({6, 2}, std::nullopt, VersionNumbers{6, 3});
    EXPECT_EQ(WindowsNameFor(v.major, v.minor), "Windows 8.1");
}

TEST(ResolveWindowsVersion, KeepsVersionExWhenNothingElseAnswers)
{
    const auto v = ResolveWindowsVersion({6, 2}, std::nullopt, std::nullopt);
    EXPECT_EQ(WindowsNameFor(v.major, v.minor), "Windows 8");
}

struct OsReleaseCase {
    const char* text;
    const char* prettyName;
    const char* briefName;
};

TEST(OsRelease, ReadsQuotedAndBareValuesAndTheBriefName)
{
    const OsReleaseCase cases[] = {
        {"NAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\n"
         "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
         "Debian GNU/Linux 12 (bookworm)", "Debian 12"},
        {"PRETTY_NAME=Arch\nNAME=\"Arch Linux\"\n", "Arch", "Arch"},
        {"NAME=\"Linux Mint\"\nVERSION_ID=21\n", "", "Linux Mint 21"},
        {"PRETTY_NAME='Single'", "Single", ""},
        {"PRETTY_NAME=\"Say \\\"hi\\\"\"\r\n", "Say \"hi\"", ""},
        {"NOT_PRETTY_NAME=x\nPRETTY_NAMES=y\nVERSION_ID=3\n", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OsReleaseValue(c.text, "PRETTY_NAME"), c.prettyName) << c.text;
        EXPECT_EQ(BriefNameFromOsRelease(c.text), c.briefName) << c.text;
    }
}

TEST(SystemName, NeverWarnsAboutWindowsOutsideWindows)
{
#ifdef _WIN32
    EXPECT_TRUE(WarnsNotWindows10("Windows 8.1"));
    EXPECT_FALSE(WarnsNotWindows10("Windows 10"));
#else
    EXPECT_FALSE(GetWindowsName().empty());
    EXPECT_FALSE(WarnsNotWindows10(GetWindowsName()));
    EXPECT_FALSE(WarnsNotWindows10("Windows 8.1"));
#endif
}

} // namespace
} // namespace platform
