#include "platform/files.h"
#include "proxylist/proxy_list.h"
#include "tests/proxylist/list_entries.h"
#include "tests/support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using proxylist::ProxyList;
using test_support::ReadFileBytes;
using test_support::WriteFileBytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> FolderContent(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

// Holds the process's file size limit low, which stops writes for root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        if (getrlimit(RLIMIT_FSIZE, &saved_) != 0)
            return;
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        if (active_)
            setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool Active() const { return active_; }

private:
    rlimit saved_{};
    bool active_ = false;
    void (*previousHandler_)(int) = SIG_DFL;
};

TEST(ProxyListFile, FailedSaveKeepsTheEarlierFile)
{
    test_support::TempDir dir;
    const std::string path = dir.File("proxylist.txt");
    WriteFileBytes(path, "old:1\r\n");
    ProxyList list;
    for (int i = 0; i < 100; ++i)
        list.Add("10.0.0." + std::to_string(i) + ":8080");

    std::optional<std::string> message;
    {
        FileSizeLimit limit(64);
        ASSERT_TRUE(limit.Active());
        try {
            list.SaveToFile(path);
        } catch (const platform::FileError& error) {
            message = error.what();
        }
    }
    ASSERT_TRUE(message) << "no error";
    EXPECT_THAT(*message, HasSubstr("Cannot create file \"" + path + "\""));
    EXPECT_EQ(ReadFileBytes(path), "old:1\r\n");
    EXPECT_THAT(FolderContent(dir.Path()), ElementsAre("proxylist.txt"));
    EXPECT_EQ(list.Count(), 100);
}

TEST(ProxyListFile, LoadingAFifoFailsInsteadOfWaiting)
{
    test_support::TempDir dir;
    const std::string path = dir.File("proxylist.txt");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    test_support::ExpectLoadFailsNaming(path);
}

} // namespace
