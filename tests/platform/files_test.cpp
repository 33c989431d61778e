#include "platform/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

using test_support::ReadFileBytes;
using test_support::TempDir;
using test_support::WriteFileBytes;

TEST(Files, ReadsBinaryContentWhole)
{
    TempDir dir;
    const std::string bytes("a\0b\r\n\xFF", 6);
    WriteFileBytes(dir.File("f"), bytes);
    EXPECT_EQ(ReadWholeFile(dir.File("f")), bytes);
}

TEST(Files, ReadingAMissingFileNamesIt)
{
    TempDir dir;
    try {
        ReadWholeFile(dir.File("missing.txt"));
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("\"" + dir.File("missing.txt") + "\""),
                  std::string::npos)
            << error.what();
    }
}

TEST(Files, ReadingAFolderFails)
{
    TempDir dir;
    EXPECT_THROW(ReadWholeFile(dir.Path()), FileError);
}

TEST(Files, ReplaceCreatesAndReplaces)
{
    TempDir dir;
    ReplaceFileContent(dir.File("f"), "first");
    ReplaceFileContent(dir.File("f"), "2");
    EXPECT_EQ(ReadFileBytes(dir.File("f")), "2");
}

TEST(Files, ReplaceFailsWhereNothingCanBeCreated)
{
    TempDir dir;
    EXPECT_THROW(ReplaceFileContent(dir.File("nofolder/f"), "new"), FileError);
    EXPECT_THROW(ReplaceFileContent(dir.Path(), "new"), FileError);
    EXPECT_FALSE(DirectoryExists(dir.File("nofolder")));
}

TEST(Files, ReplaceErrorNamesTheTarget)
{
    TempDir dir;
    try {
        ReplaceFileContent(dir.File("nofolder/list.txt"), "x");
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what())
                      .rfind("Cannot create file \"" + dir.File("nofolder/list.txt") + "\".", 0),
                  0u)
            << error.what();
    }
}

TEST(Files, MakeDirectoryCreatesOneLevelOnly)
{
    TempDir dir;
    EXPECT_TRUE(MakeDirectory(dir.File("one/")));
    EXPECT_TRUE(DirectoryExists(dir.File("one")));
    EXPECT_FALSE(MakeDirectory(dir.File("a/b")));
    EXPECT_FALSE(DirectoryExists(dir.File("a")));
    EXPECT_FALSE(MakeDirectory(dir.File("one")));
}

} // namespace
} // namespace platform
