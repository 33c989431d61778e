#include "platform/environment.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "tests/platform/profile_fixture.h"
#include "tests/support/temp_dir.h"
#ifdef _WIN32
#include "tests/support/wine_detection.h"
#endif

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::IniPathForExecutable;
using test_support::ProfileTest;
using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

struct PathCase {
    const char* executable;
    const char* ini;
};

class IniPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(IniPathTest, ReplacesTheFileNamesExtension)
{
    EXPECT_EQ(IniPathForExecutable(GetParam().executable), GetParam().ini);
}

INSTANTIATE_TEST_SUITE_P(Paths, IniPathTest,
                         ::testing::Values(PathCase{"hopvane", "hopvane.ini"},
                                           PathCase{"prog.exe", "prog.ini"},
                                           PathCase{"/x/prog.exe", "/x/prog.ini"},
                                           PathCase{"/a.b/prog", "/a.b/prog.ini"},
                                           PathCase{"/x/prog.tar.gz", "/x/prog.tar.ini"},
                                           PathCase{"/x/prog.", "/x/prog.ini"},
                                           PathCase{"/x/.hidden", "/x/.ini"}));

// A portable copy keeps its settings beside it; a copy whose folder can't
// be written (installed in a system folder) keeps them in the user's folder.
TEST(SettingsIniPath, IsBesideTheProgramOnlyWhereThatFolderCanBeWritten)
{
    const test_support::IsolatedUserEnvironment environment;
    const std::string portable = environment.Root().File("hopvane");
    EXPECT_EQ(platform::SettingsIniPath(portable), portable + ".ini");
    const std::string installed =
        environment.Root().File("unwritable") + platform::PathSeparator() + "hopvane.exe";
    const std::string inUserFolder = platform::SettingsIniPath(installed);
    EXPECT_EQ(inUserFolder,
              platform::ServiceStateFolder() + platform::PathSeparator() + "hopvane.ini");
    EXPECT_TRUE(platform::DirectoryExists(platform::ServiceStateFolder()));
}

#ifdef _WIN32
INSTANTIATE_TEST_SUITE_P(WindowsPaths, IniPathTest,
                         ::testing::Values(PathCase{"C:\\a.b\\prog", "C:\\a.b\\prog.ini"},
                                           PathCase{"C:/a.b\\prog.exe", "C:/a.b\\prog.ini"},
                                           PathCase{"C:\\a\\b.c/prog", "C:\\a\\b.c/prog.ini"}));
#else
// A backslash is part of a file name here.
INSTANTIATE_TEST_SUITE_P(PosixPaths, IniPathTest,
                         ::testing::Values(PathCase{"/x/a.b\\prog", "/x/a.ini"}));
#endif

// UTF-16LE bytes of a text, spelled out independently of the codec.
std::string Utf16LeBytes(std::u16string_view text)
{
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST_F(ProfileTest, MissingFileGivesTheDefaultAndCreatesNothing)
{
    EXPECT_EQ(Read("https://host/"), "https://host/");
    EXPECT_FALSE(platform::FileExists(path_));
}

TEST_F(ProfileTest, MissingSectionOrKeyGivesTheDefault)
{
    WriteFileBytes(path_, "[other]\r\nurltest=a\r\n[setting]\r\nx=1\r\n");
    EXPECT_EQ(Read(), "default");
    EXPECT_EQ(profile_.ReadString("nosuch", "x", "d", 2048, path_), "d");
}

TEST_F(ProfileTest, DefaultLosesTrailingSpacesAndIsCutToTheBuffer)
{
    EXPECT_EQ(Read(" a b  "), " a b");
    EXPECT_EQ(Read("abcdef", 4), "abc");
}

TEST_F(ProfileTest, FirstWriteCreatesFileSectionAndKey)
{
    ASSERT_TRUE(Write("http://host/test"));
    EXPECT_EQ(ReadFileBytes(path_), "[setting]\r\nurltest=http://host/test\r\n");
    EXPECT_EQ(Read(), "http://host/test");
}

TEST_F(ProfileTest, RewriteLeavesOtherSectionsKeysAndCommentsAlone)
{
#ifdef _WIN32
    if (test_support::RunningUnderWine())
        GTEST_SKIP() << "Wine writes the whole file anew: CR LF line ends, no blank lines";
#endif
    WriteFileBytes(path_, "; settings\n[window]\nleft=10\n\n[Setting]\nURLTEST=old\nother=1\n");
    ASSERT_TRUE(Write("new"));
    EXPECT_EQ(ReadFileBytes(path_),
              "; settings\n[window]\nleft=10\n\n[Setting]\nURLTEST=new\nother=1\n");
    EXPECT_EQ(Read(), "new");
}

TEST_F(ProfileTest, EmptiedValueReadsAsEmptyTextNotTheDefault)
{
    ASSERT_TRUE(Write(""));
    EXPECT_EQ(ReadFileBytes(path_), "[setting]\r\nurltest=\r\n");
    EXPECT_EQ(Read("https://host/"), "");
}

TEST_F(ProfileTest, ReadIsCutToOneLessThanTheBufferInUtf16Units)
{
    ASSERT_TRUE(Write(std::string(3000, 'a')));
    EXPECT_EQ(Read("", 2048), std::string(2047, 'a'));

    // Each of these takes two UTF-16 units; one that does not fit whole is
    // left out. A UTF-16 file holds them on every system.
    std::u16string emoji;
    std::string emojiUtf8;
    for (int i = 0; i < 3000; ++i) {
        emoji += u"\U0001F600";
        emojiUtf8 += "\xF0\x9F\x98\x80";
    }
    WriteFileBytes(path_, "\xFF\xFE" + Utf16LeBytes(u"[setting]\r\nurltest=" + emoji + u"\r\n"));
    EXPECT_EQ(Read("", 2048), emojiUtf8.substr(0, 1023 * 4));

    EXPECT_EQ(Read("", 1), "");
    EXPECT_EQ(Read("", 0), "");
}

TEST_F(ProfileTest, QuotedValueComesBackWithoutQuotes)
{
    WriteFileBytes(path_, "[setting]\nurltest = \"http://host/ a\" \n");
    EXPECT_EQ(Read(), "http://host/ a");
}

TEST_F(ProfileTest, Utf8FileWithByteOrderMarkIsReadAndKeepsItsMark)
{
    const std::string mark = "\xEF\xBB\xBF";
    WriteFileBytes(path_, mark + "[setting]\r\nurltest=http://\xC4\x8D\x65sko/\r\n");
    EXPECT_EQ(Read(), "http://\xC4\x8D\x65sko/");

    ASSERT_TRUE(Write("new"));
    EXPECT_EQ(ReadFileBytes(path_), mark + "[setting]\r\nurltest=new\r\n");
}

TEST_F(ProfileTest, Utf16FileIsReadAndWrittenBackInUtf16)
{
    const std::string mark = "\xFF\xFE";
    WriteFileBytes(path_,
                   mark + Utf16LeBytes(u"[x]\r\na=1\r\n[setting]\r\nurltest=\u00E9t\u00E9\r\n"));
    EXPECT_EQ(Read(), "\xC3\xA9t\xC3\xA9");

    ASSERT_TRUE(Write("\xC4\x8D"));
    EXPECT_EQ(ReadFileBytes(path_),
              mark + Utf16LeBytes(u"[x]\r\na=1\r\n[setting]\r\nurltest=\u010D\r\n"));
    EXPECT_EQ(Read(), "\xC4\x8D");
}

TEST_F(ProfileTest, FilesOfSeveralSectionsAndKeysRoundTrip)
{
    const std::vector<std::vector<std::string>> entries = {
        {"setting", "urltest", "http://one/"},
        {"window", "left", "10"},
        {"setting", "other", "cestina"},
        {"Window", "TOP", "20"},
    };
    for (const auto& entry : entries)
        ASSERT_TRUE(profile_.WriteString(entry[0], entry[1], entry[2], path_));
    ASSERT_TRUE(profile_.WriteString("setting", "urltest", "http://two/", path_));

    EXPECT_EQ(ReadFileBytes(path_), "[setting]\r\nurltest=http://two/\r\nother=cestina\r\n"
                                    "[window]\r\nleft=10\r\nTOP=20\r\n");
    EXPECT_EQ(profile_.ReadString("SETTING", "UrlTest", "", 2048, path_), "http://two/");
    EXPECT_EQ(profile_.ReadString("window", "left", "", 2048, path_), "10");
    EXPECT_EQ(profile_.ReadString("window", "top", "", 2048, path_), "20");
    EXPECT_EQ(profile_.ReadString("setting", "other", "", 2048, path_), "cestina");
    profile_.Flush(path_);
    EXPECT_EQ(profile_.ReadString("setting", "urltest", "", 2048, path_), "http://two/");
}

TEST_F(ProfileTest, WriteFailsWhenTheFolderIsMissing)
{
    const std::string path = folder_.File("no-such-folder/hopvane.ini");
    EXPECT_FALSE(profile_.WriteString("setting", "urltest", "v", path));
    EXPECT_FALSE(platform::DirectoryExists(folder_.File("no-such-folder")));
}

TEST_F(ProfileTest, WriteFailsWhenThePathIsAFolder)
{
    ASSERT_TRUE(platform::MakeDirectory(path_));
    EXPECT_FALSE(Write("v"));
    EXPECT_TRUE(platform::DirectoryExists(path_));
}

} // namespace
