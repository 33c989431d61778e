#include "platform/files.h"
#include "proxylist/proxy_list.h"
#include "tests/proxylist/list_entries.h"
#include "tests/support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using platform::TextEncoding;
using proxylist::ProxyList;
using test_support::AddEntries;
using test_support::Entries;
using test_support::ReadFileBytes;
using test_support::WriteFileBytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kUtf8Mark = "\xEF\xBB\xBF";
const std::string kUtf16LEMark = "\xFF\xFE";
const std::string kUtf16BEMark = "\xFE\xFF";
const std::string kNul16(2, '\0');

std::string Utf16LE(std::u16string_view text)
{
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string Utf16BE(std::u16string_view text)
{
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    return bytes;
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> entries;
    TextEncoding encoding;
};

void PrintTo(const ReadCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

class ProxyListLoad : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProxyListLoad, ReadsEntriesAndEncoding)
{
    test_support::TempDir dir;
    WriteFileBytes(dir.File("list.txt"), GetParam().bytes);
    ProxyList list;
    AddEntries(list, {"old"});
    list.LoadFromFile(dir.File("list.txt"));
    EXPECT_EQ(Entries(list), GetParam().entries);
    EXPECT_EQ(list.FileEncoding(), GetParam().encoding);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProxyListLoad,
    ::testing::Values(
        ReadCase{"Empty", "", {}, TextEncoding::Ansi},
        ReadCase{"AnsiCrLf",
                 "1.2.3.4:80\r\nHost.Example:3128\r\n",
                 {"1.2.3.4:80", "Host.Example:3128"},
                 TextEncoding::Ansi},
        ReadCase{"AnsiLfWithoutFinalBreak", "a:1\nb:2", {"a:1", "b:2"}, TextEncoding::Ansi},
        ReadCase{"AnsiLoneCr", "a:1\rb:2\r", {"a:1", "b:2"}, TextEncoding::Ansi},
        ReadCase{"AnsiInnerEmptyLine", "a\r\n\r\nb\r\n", {"a", "", "b"}, TextEncoding::Ansi},
        ReadCase{"AnsiHighBytes", "\x80\xE9\xC4", {"€éÄ"}, TextEncoding::Ansi},
        ReadCase{"Utf8WithoutMarkIsAnsi", "\xC3\x84", {"Ã„"}, TextEncoding::Ansi},
        ReadCase{"PartialMarkIsAnsi", "\xEF\xBBx", {"ï»x"}, TextEncoding::Ansi},
        ReadCase{"MarkNotAtStartIsAnsi", "a\xFF\xFE", {"aÿþ"}, TextEncoding::Ansi},
        ReadCase{"AnsiEndsAtNul", std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}, TextEncoding::Ansi},
        ReadCase{"Utf8", kUtf8Mark + "a\r\nČeský€\r\n", {"a", "Český€"}, TextEncoding::Utf8},
        ReadCase{"Utf8MarkAlone", kUtf8Mark, {}, TextEncoding::Utf8},
        ReadCase{"Utf8MarkOnce",
                 kUtf8Mark + kUtf8Mark + "a",
                 {"\xEF\xBB\xBF"
                  "a"},
                 TextEncoding::Utf8},
        ReadCase{"Utf8EndsAtNul",
                 kUtf8Mark + std::string("a\r\nb\0c", 6),
                 {"a", "b"},
                 TextEncoding::Utf8},
        ReadCase{"Utf8NulFirst", kUtf8Mark + std::string("\0a", 2), {}, TextEncoding::Utf8},
        ReadCase{"Utf16LE",
                 kUtf16LEMark + Utf16LE(u"a:1\r\nČ€\n\U0001F600"),
                 {"a:1", "Č€", "\U0001F600"},
                 TextEncoding::Utf16LE},
        ReadCase{"Utf16LEMarkAlone", kUtf16LEMark, {}, TextEncoding::Utf16LE},
        ReadCase{"Utf16LEZeroBytesInsideCharacters",
                 kUtf16LEMark + Utf16LE(u"\u0100a\u0100"),
                 {"ĀaĀ"},
                 TextEncoding::Utf16LE},
        ReadCase{"Utf16LEEndsAtNul",
                 kUtf16LEMark + Utf16LE(u"a\r\nb") + kNul16 + Utf16LE(u"c"),
                 {"a", "b"},
                 TextEncoding::Utf16LE},
        ReadCase{"Utf16BE",
                 kUtf16BEMark + Utf16BE(u"a:1\rČ€\r\n"),
                 {"a:1", "Č€"},
                 TextEncoding::Utf16BE},
        ReadCase{"Utf16BEMarkAlone", kUtf16BEMark, {}, TextEncoding::Utf16BE},
        ReadCase{"Utf16BEZeroBytesInsideCharacters",
                 kUtf16BEMark + Utf16BE(u"\u0100\u0200"),
                 {"ĀȀ"},
                 TextEncoding::Utf16BE},
        ReadCase{"Utf16BEEndsAtNul",
                 kUtf16BEMark + Utf16BE(u"a") + kNul16 + Utf16BE(u"\r\nb"),
                 {"a"},
                 TextEncoding::Utf16BE}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

struct WriteCase {
    const char* name;
    std::optional<std::string> loadedFrom; // none: never loaded
    std::vector<std::string> entries;
    std::string bytes;
};

void PrintTo(const WriteCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

class ProxyListSave : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProxyListSave, WritesEveryEntryWithCrLfInTheFileEncoding)
{
    test_support::TempDir dir;
    const std::string path = dir.File("list.txt");
    ProxyList list;
    if (GetParam().loadedFrom) {
        WriteFileBytes(path, *GetParam().loadedFrom);
        list.LoadFromFile(path);
        list.Clear();
    }
    for (const std::string& entry : GetParam().entries)
        list.Add(entry);
    list.SaveToFile(path);
    EXPECT_EQ(ReadFileBytes(path), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProxyListSave,
    ::testing::Values(
        WriteCase{"NeverLoadedIsAnsi", std::nullopt, {"a:1", "B:2"}, "a:1\r\nB:2\r\n"},
        WriteCase{"NeverLoadedEmpty", std::nullopt, {}, ""},
        WriteCase{
            "AnsiUnrepresentableBecomesQuestionMark", std::nullopt, {"éЖ€ł"}, "\xE9?\x80?\r\n"},
        WriteCase{"AnsiInnerEmptyEntry", std::nullopt, {"a", "", "b"}, "a\r\n\r\nb\r\n"},
        WriteCase{"LoadedAnsi", "x", {"é"}, "\xE9\r\n"},
        WriteCase{"Utf8", kUtf8Mark, {"a", "Ж\U0001F600"}, kUtf8Mark + "a\r\nЖ\U0001F600\r\n"},
        WriteCase{"Utf8Empty", kUtf8Mark + "x", {}, kUtf8Mark},
        WriteCase{"Utf16LE",
                  kUtf16LEMark,
                  {"a", "Ж\U0001F600"},
                  kUtf16LEMark + Utf16LE(u"a\r\nЖ\U0001F600\r\n")},
        WriteCase{"Utf16LEEmpty", kUtf16LEMark, {}, kUtf16LEMark},
        WriteCase{"Utf16BE",
                  kUtf16BEMark,
                  {"a", "Ж\U0001F600"},
                  kUtf16BEMark + Utf16BE(u"a\r\nЖ\U0001F600\r\n")},
        WriteCase{"Utf16BEEmpty", kUtf16BEMark, {}, kUtf16BEMark}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

struct RoundTripCase {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
};

void PrintTo(const RoundTripCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

class ProxyListRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(ProxyListRoundTrip, WrittenFileReadsBackAlike)
{
    test_support::TempDir dir;
    const std::string path = dir.File("list.txt");
    WriteFileBytes(path, GetParam().bytes);
    ProxyList first;
    first.LoadFromFile(path);
    first.Add("Added.Host:8080");
    first.SaveToFile(path);

    ProxyList second;
    second.LoadFromFile(path);
    EXPECT_EQ(second.FileEncoding(), GetParam().encoding);
    EXPECT_EQ(Entries(second), Entries(first));
    EXPECT_EQ(second.Count(), 4);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProxyListRoundTrip,
    ::testing::Values(
        RoundTripCase{"Ansi", "Mixed.Case:80\r\n\r\n\xE9\x80", TextEncoding::Ansi},
        RoundTripCase{"Utf8", kUtf8Mark + "Mixed.Case:80\n\nŽ\U0001F600", TextEncoding::Utf8},
        RoundTripCase{"Utf16LE", kUtf16LEMark + Utf16LE(u"Mixed.Case:80\r\rŽ\U0001F600"),
                      TextEncoding::Utf16LE},
        RoundTripCase{"Utf16BE", kUtf16BEMark + Utf16BE(u"Mixed.Case:80\r\n\r\nŽ\U0001F600"),
                      TextEncoding::Utf16BE}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(ProxyListFile, LfFileWithoutFinalBreakIsWrittenBackWithCrLf)
{
    test_support::TempDir dir;
    const std::string path = dir.File("proxylist.txt");
    WriteFileBytes(path, "1.2.3.4:80\n5.6.7.8:3128");
    ProxyList list;
    list.LoadFromFile(path);
    EXPECT_THAT(Entries(list), ElementsAre("1.2.3.4:80", "5.6.7.8:3128"));
    list.SaveToFile(path);
    EXPECT_EQ(ReadFileBytes(path), "1.2.3.4:80\r\n5.6.7.8:3128\r\n");
}

TEST(ProxyListFile, LoadingAFileWithoutMarkGoesBackToAnsi)
{
    test_support::TempDir dir;
    WriteFileBytes(dir.File("utf8.txt"), kUtf8Mark + "a");
    WriteFileBytes(dir.File("ansi.txt"), "b");
    ProxyList list;
    list.LoadFromFile(dir.File("utf8.txt"));
    list.LoadFromFile(dir.File("ansi.txt"));
    EXPECT_EQ(list.FileEncoding(), TextEncoding::Ansi);
    list.SaveToFile(dir.File("out.txt"));
    EXPECT_EQ(ReadFileBytes(dir.File("out.txt")), "b\r\n");
}

TEST(ProxyListFile, NewContentKeepsTheEncodingFound)
{
    test_support::TempDir dir;
    const std::string path = dir.File("list.txt");
    WriteFileBytes(path, kUtf16LEMark + Utf16LE(u"a\r\n"));
    ProxyList list;
    list.LoadFromFile(path);

    list.Clear();
    list.SaveToFile(path);
    EXPECT_EQ(ReadFileBytes(path), kUtf16LEMark);

    list.SetText("b\nc");
    list.SaveToFile(path);
    EXPECT_EQ(ReadFileBytes(path), kUtf16LEMark + Utf16LE(u"b\r\nc\r\n"));
}

TEST(ProxyListFile, LoadClearsTheSelection)
{
    test_support::TempDir dir;
    WriteFileBytes(dir.File("list.txt"), "a\r\nb\r\n");
    ProxyList list;
    AddEntries(list, {"x", "y"});
    list.SetItemIndex(1);
    list.LoadFromFile(dir.File("list.txt"));
    EXPECT_EQ(list.ItemIndex(), -1);
}

TEST(ProxyListFile, MissingFileFailsNamingIt)
{
    test_support::TempDir dir;
    test_support::ExpectLoadFailsNaming(dir.File("proxylist.txt"));
}

TEST(ProxyListFile, UnreadableFileFailsNamingItAndLeavesTheListAsItWas)
{
    test_support::TempDir dir;
    WriteFileBytes(dir.File("utf8.txt"), kUtf8Mark + "a\r\nb\r\n");
    const std::string path = dir.File("proxylist.txt");
    std::filesystem::create_directory(path);
    ProxyList list;
    list.LoadFromFile(dir.File("utf8.txt"));
    list.SetItemIndex(1);
    try {
        list.LoadFromFile(path);
        FAIL() << "no error";
    } catch (const platform::FileError& error) {
        EXPECT_THAT(error.what(), HasSubstr("\"" + path + "\""));
    }
    EXPECT_THAT(Entries(list), ElementsAre("a", "b"));
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(list.FileEncoding(), TextEncoding::Utf8);
}

TEST(ProxyListFile, SaveIntoMissingFolderFailsNamingTheFile)
{
    test_support::TempDir dir;
    const std::string path = dir.File("missing/proxylist.txt");
    ProxyList list;
    AddEntries(list, {"a"});
    try {
        list.SaveToFile(path);
        FAIL() << "no error";
    } catch (const platform::FileError& error) {
        EXPECT_THAT(error.what(), HasSubstr("Cannot create file \"" + path + "\""));
    }
}

TEST(ProxyListFile, LargeListLoadsWhole)
{
    test_support::TempDir dir;
    const std::string path = dir.File("proxylist.txt");
    std::string bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += "10." + std::to_string(i / 65536) + "." + std::to_string(i / 256 % 256) + "." +
                 std::to_string(i % 256) + ":" + std::to_string(1000 + i % 9000) + "\r\n";
    WriteFileBytes(path, bytes);
    ProxyList list;
    list.LoadFromFile(path);
    ASSERT_EQ(list.Count(), 100000);
    EXPECT_EQ(list.Line(0), "10.0.0.0:1000");
    EXPECT_EQ(list.Line(99999), "10.1.134.159:1999");
    EXPECT_EQ(list.IndexOf("10.1.134.159:1999"), 99999);
    list.SaveToFile(path);
    EXPECT_EQ(ReadFileBytes(path), bytes);
}

} // namespace
