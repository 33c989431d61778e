#include "platform/files.h"
#include "platform/profile.h"
#include "tests/platform/profile_fixture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

using platform::SystemProfile;
using test_support::ProfileTest;
using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

TEST_F(ProfileTest, NewFileHoldsItsTextAsUtf8WithoutAMark)
{
    ASSERT_TRUE(Write("\xC4\x8D\x65\xC5\xA1tina"));
    EXPECT_EQ(ReadFileBytes(path_), "[setting]\r\nurltest=\xC4\x8D\x65\xC5\xA1tina\r\n");
    EXPECT_EQ(Read(), "\xC4\x8D\x65\xC5\xA1tina");
    // Writers take turns at a lock in the runtime folder, not beside the file.
    EXPECT_FALSE(platform::FileExists(path_ + ".lock"));
}

bool RunningAsRoot()
{
    return geteuid() == 0;
}

TEST_F(ProfileTest, WriteFailsWhenTheFolderIsNotWritable)
{
    if (RunningAsRoot())
        GTEST_SKIP() << "permissions do not stop root from writing";
    ASSERT_EQ(chmod(folder_.Path().c_str(), 0500), 0);
    EXPECT_FALSE(Write("v"));
    chmod(folder_.Path().c_str(), 0700);
    EXPECT_FALSE(platform::FileExists(path_));
}

TEST_F(ProfileTest, WriteFailsWhenTheFileIsReadOnly)
{
    if (RunningAsRoot())
        GTEST_SKIP() << "permissions do not stop root from writing";
    WriteFileBytes(path_, "[setting]\r\nurltest=old\r\n");
    ASSERT_EQ(chmod(path_.c_str(), 0400), 0);
    EXPECT_FALSE(Write("new"));
    EXPECT_EQ(Read(), "old");
}

TEST_F(ProfileTest, WritersInSeveralProcessesLoseNoKeys)
{
    constexpr int kWriters = 4;
    constexpr int kKeysEach = 15;
    std::vector<pid_t> writers;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (int key = 0; key < kKeysEach; ++key)
                ok = SystemProfile().WriteString(
                         "keys", "k" + std::to_string(writer) + "_" + std::to_string(key),
                         std::to_string(key), path_) &&
                     ok;
            _exit(ok ? 0 : 1);
        }
        writers.push_back(pid);
    }
    for (const pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int writer = 0; writer < kWriters; ++writer)
        for (int key = 0; key < kKeysEach; ++key)
            EXPECT_EQ(profile_.ReadString("keys",
                                          "k" + std::to_string(writer) + "_" + std::to_string(key),
                                          "missing", 2048, path_),
                      std::to_string(key));
}

} // namespace
