#include "platform/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <vector>

namespace platform {
namespace {

using test_support::ReadFileBytes;
using test_support::TempDir;
using test_support::WriteFileBytes;

// Holds the file size limit low for its lifetime; exceeding it makes write()
// fail with EFBIG, for root as well, like a full disk does.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(Files, FailedReplaceKeepsTheOldContentAndLeavesNoTemporaryFile)
{
    TempDir dir;
    WriteFileBytes(dir.File("f"), "old");
    {
        FileSizeLimit limit(4);
        EXPECT_THROW(ReplaceFileContent(dir.File("f"), "longer than four bytes"), FileError);
    }
    EXPECT_EQ(ReadFileBytes(dir.File("f")), "old");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"f"});
}

} // namespace
} // namespace platform
