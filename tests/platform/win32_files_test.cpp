#include "platform/files.h"
#include "platform/win32/wide_text.h"
#include "tests/support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace platform {
namespace {

using test_support::ReadFileBytes;
using test_support::TempDir;
using test_support::WriteFileBytes;
using ::testing::ElementsAre;
using win32::ToWide;

// Another program's handle on a file, open for the object's lifetime.
class OpenElsewhere {
public:
    OpenElsewhere(const std::string& path, DWORD access, DWORD share)
        : handle_(CreateFileW(ToWide(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~OpenElsewhere()
    {
        if (IsOpen())
            CloseHandle(handle_);
    }
    OpenElsewhere(const OpenElsewhere&) = delete;
    OpenElsewhere& operator=(const OpenElsewhere&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

std::vector<std::wstring> NamesIn(const std::string& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(ToWide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

TEST(Win32Files, MissingFileErrorCarriesTheSystemsReason)
{
    TempDir dir;
    const std::string path = dir.File("missing.txt");
    try {
        ReadWholeFile(path);
        FAIL() << "no error";
    } catch (const FileError& error) {
        const std::string message = error.what();
        const std::string start = "Cannot open file \"" + path + "\". ";
        ASSERT_EQ(message.rfind(start, 0), 0u) << message;
        const std::string reason = message.substr(start.size());
        EXPECT_FALSE(reason.empty());
        EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << message;
    }
}

TEST(Win32Files, ADeviceIsRefusedAsNotARegularFile)
{
    try {
        ReadWholeFile("NUL");
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "Cannot open file \"NUL\". Not a regular file.");
    }
}

TEST(Win32Files, OthersMayReadMeanwhileButAWriterKeepsTheReadOut)
{
    TempDir dir;
    const std::string path = dir.File("list.txt");
    WriteFileBytes(path, "a\r\n");
    {
        const OpenElsewhere reader(path, GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(reader.IsOpen());
        EXPECT_EQ(ReadWholeFile(path), "a\r\n");
    }
    {
        // Sharing everything does not help: the read shares no writing.
        const OpenElsewhere writer(path, GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        ASSERT_TRUE(writer.IsOpen());
        EXPECT_THROW(ReadWholeFile(path), FileError);
    }
    EXPECT_EQ(ReadWholeFile(path), "a\r\n");
}

TEST(Win32Files, ReplaceOfAFileAnotherProgramHoldsFailsKeepsItAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const std::string path = dir.File("f");
    WriteFileBytes(path, "old");
    {
        // A reader as the program itself reads: sharing reading only.
        const OpenElsewhere reader(path, GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(reader.IsOpen());
        try {
            ReplaceFileContent(path, "new");
            FAIL() << "no error";
        } catch (const FileError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("Cannot create file \"" + path + "\". ", 0),
                      0u)
                << error.what();
        }
    }
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_THAT(NamesIn(dir.Path()), ElementsAre(L"f"));
}

TEST(Win32Files, ReplaceLeavesOnlyTheTargetBehind)
{
    TempDir dir;
    ReplaceFileContent(dir.File("proxylist.txt"), "1.2.3.4:80\r\n");
    ReplaceFileContent(dir.File("proxylist.txt"), "5.6.7.8:80\r\n");
    EXPECT_THAT(NamesIn(dir.Path()), ElementsAre(L"proxylist.txt"));
    EXPECT_EQ(ReadFileBytes(dir.File("proxylist.txt")), "5.6.7.8:80\r\n");
}

TEST(Win32Files, NonAsciiNamesReachTheFileSystemAsUtf16)
{
    TempDir dir;
    // "Česká složka" and "přehled.txt"
    const std::string folder = dir.File("\xC4\x8C"
                                        "esk\xC3\xA1 slo\xC5\xBEka");
    ASSERT_TRUE(MakeDirectory(folder));
    EXPECT_TRUE(DirectoryExists(folder));
    EXPECT_THAT(NamesIn(dir.Path()), ElementsAre(L"\u010Cesk\u00E1 slo\u017Eka"));

    const std::string file = folder + "\\p\xC5\x99\x65hled.txt";
    ReplaceFileContent(file, "x");
    AppendToFile(file, "y");
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(ReadWholeFile(file), "xy");
    EXPECT_THAT(NamesIn(folder), ElementsAre(L"p\u0159ehled.txt"));
}

TEST(Win32Files, AppendCreatesThenAddsAtTheEnd)
{
    TempDir dir;
    const std::string path = dir.File("bugreport.txt");
    AppendToFile(path, "one\r\n");
    AppendToFile(path, "two\r\n");
    EXPECT_EQ(ReadFileBytes(path), "one\r\ntwo\r\n");
    EXPECT_THROW(AppendToFile(dir.File("nofolder\\bugreport.txt"), "x"), FileError);
}

TEST(Win32Files, BothSeparatorsAndATrailingOneAreAccepted)
{
    TempDir dir;
    EXPECT_TRUE(MakeDirectory(dir.File("a\\")));
    EXPECT_TRUE(MakeDirectory(dir.File("a/b/")));
    EXPECT_TRUE(DirectoryExists(dir.File("a\\b")));
    EXPECT_FALSE(FileExists(dir.File("a\\b")));
    ReplaceFileContent(dir.File("a/b\\c.txt"), "c");
    EXPECT_TRUE(FileExists(dir.File("a\\b\\c.txt")));
    EXPECT_FALSE(DirectoryExists(dir.File("a\\b\\c.txt")));
}

} // namespace
} // namespace platform
