#include "platform/system_version.h"
#include "platform/text_codec.h"
#include "platform/tick_count.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace platform {
namespace {

TEST(Win32SystemName, IsANameOfTheTableForTheRunningSystem)
{
    // The numbers come from three calls; a call that failed or a field
    // misread would show as an "Unknown (Windows ...)" name.
    const std::string name = GetWindowsName();
    EXPECT_EQ(name.rfind("Windows ", 0), 0u) << name;
    EXPECT_EQ(WarnsNotWindows10(name), name != "Windows 10");
}

TEST(Win32TickCount, IsTheSystemsTickCount)
{
    const DWORD before = GetTickCount();
    const std::uint32_t ticks = TickCount();
    const DWORD after = GetTickCount();
    // Unsigned differences stay right across the wrap after 49.7 days.
    EXPECT_LE(ticks - before, after - before);
}

TEST(Win32AnsiCodePage, EveryCharacterOfTheCodePageSurvivesTheRoundTrip)
{
    if (GetACP() == CP_UTF8)
        GTEST_SKIP() << "the ANSI code page is UTF-8 here";
    CPINFO info{};
    ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
    if (info.MaxCharSize != 1)
        GTEST_SKIP() << "a multi-byte ANSI code page";
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        if (byte == '?')
            continue;
        const std::string ansi(1, static_cast<char>(byte));
        const std::string utf8 = AnsiToUtf8(ansi);
        EXPECT_NE(utf8, "?") << byte;
        EXPECT_EQ(Utf8ToAnsi(utf8), ansi) << byte;
    }
}

TEST(Win32AnsiCodePage, WindowsCodePage1252MapsAsTheSystemDoes)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the ANSI code page is " << GetACP();
    // Euro sign, S with caron, a-acute; c with caron has no place in it and
    // no look-alike is taken.
    EXPECT_EQ(Utf8ToAnsi("\xE2\x82\xAC\xC5\xA0\xC3\xA1\xC4\x8D"), "\x80\x8A\xE1?");
    EXPECT_EQ(AnsiToUtf8("\x80\x8A\xE1"), "\xE2\x82\xAC\xC5\xA0\xC3\xA1");
    EXPECT_EQ(Utf8ToAnsi("a\xF0\x9F\x98\x80z"), "a?z");
    EXPECT_EQ(Utf8ToAnsi(""), "");
    EXPECT_EQ(AnsiToUtf8(""), "");
}

} // namespace
} // namespace platform
