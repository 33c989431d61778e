#include "platform/environment.h"
#include "platform/files.h"
#include "proxylist/proxy_store.h"
#include "tests/proxylist/list_entries.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unopenable_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace {

using platform::TextEncoding;
using proxylist::ProxyList;
using proxylist::ProxyStore;
using test_support::Entries;
using test_support::ReadFileBytes;
using test_support::WriteFileBytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

using Lines = std::vector<std::string>;

class ProxyStoreTest : public ::testing::Test {
protected:
    std::string File(const char* name) const { return dir_.File(name); }
    std::string Folder() const { return dir_.Path() + platform::PathSeparator(); }

    // A folder with the file's name, with content so it cannot just be
    // removed: every write of the file fails, also for root.
    void BlockFile(const char* name) const
    {
        std::filesystem::create_directory(File(name));
        WriteFileBytes(File(name) + "/keep", "");
    }

    static void Fill(ProxyList& list, const Lines& entries)
    {
        for (const std::string& entry : entries)
            list.Add(entry);
    }

private:
    test_support::TempDir dir_;
};

TEST_F(ProxyStoreTest, PathsLieInTheDataFolder)
{
    ProxyStore store(Folder());
    EXPECT_EQ(store.ProxyListPath(), File("proxylist.txt"));
    EXPECT_EQ(store.BlacklistPath(), File("blacklist.txt"));
    EXPECT_EQ(store.DateListPath(), File("proxylistdate.txt"));
}

TEST_F(ProxyStoreTest, MissingFilesLeaveTheListsEmpty)
{
    ProxyStore store(Folder());
    store.LoadListFiles();
    EXPECT_EQ(store.Proxys().Count(), 0);
    EXPECT_EQ(store.blacklist().Count(), 0);
    EXPECT_EQ(store.FileUpdateDate().Count(), 0);
}

TEST_F(ProxyStoreTest, LoadsEachFileIntoItsList)
{
    WriteFileBytes(File("proxylist.txt"), "a:1\r\nB:2\r\n");
    WriteFileBytes(File("blacklist.txt"), "\xEF\xBB\xBF"
                                          "c:3\r\n");
    WriteFileBytes(File("proxylistdate.txt"), "1. 1. 2024\r\n");
    ProxyStore store(Folder());
    store.LoadListFiles();
    EXPECT_THAT(Entries(store.Proxys()), ElementsAre("a:1", "B:2"));
    EXPECT_EQ(store.Proxys().ItemIndex(), -1);
    EXPECT_THAT(Entries(store.blacklist()), ElementsAre("c:3"));
    EXPECT_EQ(store.blacklist().FileEncoding(), TextEncoding::Utf8);
    EXPECT_EQ(store.FileUpdateDate().Text(), "1. 1. 2024\r\n");
}

TEST_F(ProxyStoreTest, LoadsOnlyTheFilesThatExist)
{
    WriteFileBytes(File("blacklist.txt"), "c:3");
    ProxyStore store(Folder());
    store.LoadListFiles();
    EXPECT_EQ(store.Proxys().Count(), 0);
    EXPECT_THAT(Entries(store.blacklist()), ElementsAre("c:3"));
    EXPECT_EQ(store.FileUpdateDate().Count(), 0);
}

TEST_F(ProxyStoreTest, UnreadableFileEndsTheLoadingThere)
{
    WriteFileBytes(File("proxylist.txt"), "a:1\r\n");
    const test_support::UnopenableFile blacklist(File("blacklist.txt"));
    ASSERT_TRUE(platform::FileExists(File("blacklist.txt")));
    WriteFileBytes(File("proxylistdate.txt"), "today\r\n");
    ProxyStore store(Folder());
    try {
        store.LoadListFiles();
        FAIL() << "no error";
    } catch (const platform::FileError& error) {
        EXPECT_THAT(error.what(), HasSubstr("\"" + File("blacklist.txt") + "\""));
    }
    EXPECT_THAT(Entries(store.Proxys()), ElementsAre("a:1"));
    EXPECT_EQ(store.FileUpdateDate().Count(), 0);
}

struct BlacklistCase {
    const char* name;
    Lines proxys;
    int selected;
    Lines blacklist;
    std::string entry;
    Lines proxysAfter;
    int selectedAfter;
    Lines blacklistAfter;
    std::string currentAfter;
    bool filesWritten;
};

void PrintTo(const BlacklistCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

class ProxyStoreBlacklist : public ProxyStoreTest,
                            public ::testing::WithParamInterface<BlacklistCase> {};

// CurrentProxy starts as "current" unless the case's entry is the selected
// line, as the check cycle passes it.
TEST_P(ProxyStoreBlacklist, FollowsTheSteps)
{
    const BlacklistCase& c = GetParam();
    ProxyStore store(Folder());
    Fill(store.Proxys(), c.proxys);
    store.Proxys().SetItemIndex(c.selected);
    Fill(store.blacklist(), c.blacklist);
    std::string current = "current";

    store.BlacklistProxy(c.entry, current);

    EXPECT_EQ(Entries(store.Proxys()), c.proxysAfter);
    EXPECT_EQ(store.Proxys().ItemIndex(), c.selectedAfter);
    EXPECT_EQ(Entries(store.blacklist()), c.blacklistAfter);
    EXPECT_EQ(current, c.currentAfter);
    if (c.filesWritten) {
        EXPECT_EQ(ReadFileBytes(File("proxylist.txt")), store.Proxys().Text());
        EXPECT_EQ(ReadFileBytes(File("blacklist.txt")), store.blacklist().Text());
    } else {
        EXPECT_FALSE(platform::FileExists(File("proxylist.txt")));
        EXPECT_FALSE(platform::FileExists(File("blacklist.txt")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProxyStoreBlacklist,
    ::testing::Values(BlacklistCase{"SelectedInTheMiddle",
                                    {"p0:1", "p1:1", "p2:1", "p3:1", "p4:1"},
                                    2,
                                    {"old:1"},
                                    "p2:1",
                                    {"p0:1", "p1:1", "p3:1", "p4:1"},
                                    2,
                                    {"old:1", "p2:1"},
                                    "p3:1",
                                    true},
                      BlacklistCase{"SelectedLast",
                                    {"p0:1", "p1:1", "p2:1"},
                                    2,
                                    {},
                                    "p2:1",
                                    {"p0:1", "p1:1"},
                                    -1,
                                    {"p2:1"},
                                    "current",
                                    true},
                      BlacklistCase{
                          "OnlyLine", {"p0:1"}, 0, {}, "p0:1", {}, -1, {"p0:1"}, "current", true},
                      BlacklistCase{"AlreadyBlacklistedInOtherCase",
                                    {"p0:1", "Host.Example:80"},
                                    1,
                                    {"host.EXAMPLE:80"},
                                    "Host.Example:80",
                                    {"p0:1", "Host.Example:80"},
                                    1,
                                    {"host.EXAMPLE:80"},
                                    "current",
                                    false},
                      BlacklistCase{"FirstOfTwoCopies",
                                    {"d:1", "p1:1", "d:1"},
                                    0,
                                    {},
                                    "d:1",
                                    {"p1:1", "d:1"},
                                    0,
                                    {"d:1"},
                                    "p1:1",
                                    true},
                      BlacklistCase{"SecondCopyAfterTheFirst",
                                    {"p1:1", "d:1"},
                                    1,
                                    {"d:1"},
                                    "d:1",
                                    {"p1:1", "d:1"},
                                    1,
                                    {"d:1"},
                                    "current",
                                    false},
                      BlacklistCase{"NotInTheProxyList",
                                    {"n0:1", "n1:1"},
                                    0,
                                    {},
                                    "gone:1",
                                    {"n0:1", "n1:1"},
                                    0,
                                    {"gone:1"},
                                    "n0:1",
                                    true},
                      BlacklistCase{"NothingSelected",
                                    {"p0:1", "p1:1"},
                                    -1,
                                    {},
                                    "p0:1",
                                    {"p1:1"},
                                    -1,
                                    {"p0:1"},
                                    "current",
                                    true},
                      BlacklistCase{"LineAboveTheSelection",
                                    {"p0:1", "p1:1", "p2:1", "p3:1"},
                                    2,
                                    {},
                                    "p0:1",
                                    {"p1:1", "p2:1", "p3:1"},
                                    2,
                                    {"p0:1"},
                                    "p3:1",
                                    true},
                      BlacklistCase{"OtherCaseRemovesTheListLineAndKeepsBothSpellings",
                                    {"Host.Example:80", "p1:1"},
                                    0,
                                    {},
                                    "HOST.example:80",
                                    {"p1:1"},
                                    0,
                                    {"HOST.example:80"},
                                    "p1:1",
                                    true}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(ProxyStoreTest, CurrentProxyItselfMayBeTheEntry)
{
    ProxyStore store(Folder());
    Fill(store.Proxys(), {"a:1", "b:2", "c:3"});
    store.Proxys().SetItemIndex(1);
    std::string current = "b:2";
    store.BlacklistProxy(current, current);
    EXPECT_THAT(Entries(store.blacklist()), ElementsAre("b:2"));
    EXPECT_THAT(Entries(store.Proxys()), ElementsAre("a:1", "c:3"));
    EXPECT_EQ(current, "c:3");
}

TEST_F(ProxyStoreTest, BlacklistingTheOnlyLineOfAUtf8ListWritesTheMarkAlone)
{
    WriteFileBytes(File("proxylist.txt"), "\xEF\xBB\xBF"
                                          "a:1\r\n");
    ProxyStore store(Folder());
    store.LoadListFiles();
    store.Proxys().SetItemIndex(0);
    std::string current = "a:1";
    store.BlacklistProxy("a:1", current);
    EXPECT_EQ(ReadFileBytes(File("proxylist.txt")), "\xEF\xBB\xBF");
    EXPECT_EQ(ReadFileBytes(File("blacklist.txt")), "a:1\r\n");
}

TEST_F(ProxyStoreTest, EachFileKeepsTheEncodingItWasFoundIn)
{
    WriteFileBytes(File("proxylist.txt"), "a:1\r\nb:2\r\n");
    WriteFileBytes(File("blacklist.txt"), "\xEF\xBB\xBF"
                                          "Ž:1\r\n");
    WriteFileBytes(File("proxylistdate.txt"), "\xE9\r\n");
    ProxyStore store(Folder());
    store.LoadListFiles();
    store.Proxys().SetItemIndex(0);
    std::string current = "a:1";
    store.BlacklistProxy("a:1", current);
    EXPECT_EQ(ReadFileBytes(File("blacklist.txt")), "\xEF\xBB\xBF"
                                                    "Ž:1\r\na:1\r\n");
    EXPECT_EQ(ReadFileBytes(File("proxylist.txt")), "b:2\r\n");
    EXPECT_EQ(ReadFileBytes(File("proxylistdate.txt")), "\xE9\r\n");
}

TEST_F(ProxyStoreTest, FailingBlacklistSaveSkipsTheProxyListSave)
{
    WriteFileBytes(File("proxylist.txt"), "a:1\r\nb:2\r\n");
    ProxyStore store(Folder());
    store.LoadListFiles();
    store.Proxys().SetItemIndex(0);
    BlockFile("blacklist.txt");
    std::string current = "a:1";
    try {
        store.BlacklistProxy("a:1", current);
        FAIL() << "no error";
    } catch (const platform::FileError& error) {
        EXPECT_THAT(error.what(), HasSubstr("\"" + File("blacklist.txt") + "\""));
    }
    EXPECT_EQ(ReadFileBytes(File("proxylist.txt")), "a:1\r\nb:2\r\n");
    EXPECT_THAT(Entries(store.Proxys()), ElementsAre("b:2"));
    EXPECT_THAT(Entries(store.blacklist()), ElementsAre("a:1"));
    EXPECT_EQ(current, "b:2");
}

TEST_F(ProxyStoreTest, FailingProxyListSaveComesAfterTheBlacklistSave)
{
    ProxyStore store(Folder());
    Fill(store.Proxys(), {"a:1", "b:2"});
    store.Proxys().SetItemIndex(0);
    BlockFile("proxylist.txt");
    std::string current = "a:1";
    try {
        store.BlacklistProxy("a:1", current);
        FAIL() << "no error";
    } catch (const platform::FileError& error) {
        EXPECT_THAT(error.what(), HasSubstr("\"" + File("proxylist.txt") + "\""));
    }
    EXPECT_EQ(ReadFileBytes(File("blacklist.txt")), "a:1\r\n");
}

} // namespace
