#include "platform/files.h"
#include "platform/profile.h"
#include "platform/win32/wide_text.h"
#include "tests/platform/profile_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unopenable_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

using platform::win32::ToWide;
using test_support::ProfileTest;
using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

// What another program gets from the file, through the system's call.
std::wstring ReadElsewhere(const std::string& path, const wchar_t* section, const wchar_t* key)
{
    wchar_t buffer[256] = {};
    const DWORD length =
        GetPrivateProfileStringW(section, key, L"<none>", buffer, 256, ToWide(path).c_str());
    return std::wstring(buffer, length);
}

TEST_F(ProfileTest, WriteFailsWhileAnotherProgramHoldsTheFile)
{
    {
        const test_support::UnopenableFile held(path_);
        EXPECT_FALSE(Write("new"));
        profile_.Flush(path_);
    }
    EXPECT_EQ(ReadFileBytes(path_), "");
    EXPECT_EQ(Read(), "default");
}

TEST_F(ProfileTest, WrittenValueIsOnDiskForOtherProgramsAfterTheFlush)
{
    ASSERT_TRUE(Write("http://host/page"));
    profile_.Flush(path_);
    EXPECT_EQ(ReadElsewhere(path_, L"setting", L"urltest"), L"http://host/page");
    EXPECT_EQ(ReadFileBytes(path_), "[setting]\r\nurltest=http://host/page\r\n");
}

TEST_F(ProfileTest, NewFileHoldsItsTextInTheAnsiCodePage)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the ANSI code page is " << GetACP();
    // "ústí" is in the code page; "č" is not, and does not come back.
    ASSERT_TRUE(Write("\xC3\xBAst\xC3\xAD"));
    EXPECT_EQ(ReadFileBytes(path_), "[setting]\r\nurltest=\xFAst\xED\r\n");
    EXPECT_EQ(Read(), "\xC3\xBAst\xC3\xAD");
    ASSERT_TRUE(Write("\xC4\x8D"));
    EXPECT_NE(Read(), "\xC4\x8D");
}

TEST_F(ProfileTest, ValueWrittenByAnotherProgramIsReadAfresh)
{
    ASSERT_TRUE(Write("first"));
    EXPECT_EQ(Read(), "first");
    ASSERT_TRUE(
        WritePrivateProfileStringW(L"setting", L"urltest", L"second", ToWide(path_).c_str()));
    EXPECT_EQ(Read(), "second");
}

TEST_F(ProfileTest, FlushOfAFileNeverTouchedChangesNothing)
{
    profile_.Flush(path_);
    EXPECT_FALSE(platform::FileExists(path_));
    EXPECT_EQ(Read("d"), "d");
}

} // namespace
