#include "platform/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <ostream>
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

struct SpecialFileCase {
    const char* name;
    // Puts the special file at the path.
    int (*make)(const std::string& path);
};

void PrintTo(const SpecialFileCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

int MakeFifo(const std::string& path)
{
    return mkfifo(path.c_str(), 0600);
}

int LinkToZeros(const std::string& path)
{
    return symlink("/dev/zero", path.c_str());
}

class SpecialFileReading : public ::testing::TestWithParam<SpecialFileCase> {};

// A FIFO would hold the open until a writer comes, /dev/zero the read forever.
TEST_P(SpecialFileReading, IsRefusedAsNotARegularFile)
{
    TempDir dir;
    const std::string path = dir.File("proxylist.txt");
    ASSERT_EQ(GetParam().make(path), 0);
    try {
        ReadWholeFile(path);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(),
                     ("Cannot open file \"" + path + "\". Not a regular file").c_str());
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialFileReading,
                         ::testing::Values(SpecialFileCase{"FIFO", MakeFifo},
                                           SpecialFileCase{"symlink to /dev/zero", LinkToZeros}));

TEST(Files, ARegularFileBehindASymlinkIsRead)
{
    TempDir dir;
    WriteFileBytes(dir.File("target"), "content");
    ASSERT_EQ(symlink(dir.File("target").c_str(), dir.File("link").c_str()), 0);
    EXPECT_EQ(ReadWholeFile(dir.File("link")), "content");
}

// XDG asks for 0700 on base folders it has to create.
TEST(Files, DataFolderIsMadeWithItsMissingParentsForTheUserOnly)
{
    TempDir dir;
    ASSERT_TRUE(MakeDataFolder(dir.File(".local/share/Hopvane/")));
    for (const char* made : {".local", ".local/share", ".local/share/Hopvane"}) {
        struct stat st {};
        ASSERT_EQ(stat(dir.File(made).c_str(), &st), 0) << made;
        EXPECT_TRUE(S_ISDIR(st.st_mode)) << made;
        EXPECT_EQ(st.st_mode & 0777, 0700u) << made;
    }
    EXPECT_TRUE(MakeDataFolder(dir.File(".local/share/Hopvane")));
}

} // namespace
} // namespace platform
