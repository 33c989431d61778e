#include "platform/files.h"
#include "platform/posix/kioslaverc.h"
#include "platform/posix/qt_lock_file.h"
#include "tests/support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {
namespace {

using test_support::IsolatedUserEnvironment;
using test_support::ReadFileBytes;
using test_support::ScopedEnv;
using test_support::WriteFileBytes;

const std::string kUrl = "http://10.0.0.1 8080";
const KioslavercEntries kOn = {{"ProxyType", "1"}, {"httpProxy", kUrl}, {"httpsProxy", kUrl}};
const KioslavercEntries kOff = {{"ProxyType", "0"}};

struct RewriteCase {
    const char* name;
    const char* before;
    KioslavercEntries entries;
    const char* after;
};

class RewriteKioslavercTest : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(RewriteKioslavercTest, ChangesOnlyTheGivenKeys)
{
    EXPECT_EQ(RewriteKioslaverc(GetParam().before, GetParam().entries), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RewriteKioslavercTest,
    ::testing::Values(
        RewriteCase{"Empty", "", kOn,
                    "[Proxy Settings]\nProxyType=1\nhttpProxy=http://10.0.0.1 8080\n"
                    "httpsProxy=http://10.0.0.1 8080\n"},
        RewriteCase{"OtherGroupsStay",
                    "# mine\n[Cache]\nMaxSize=5\n\n[Proxy Settings]\nftpProxy=ftp://f 21\n"
                    "ProxyType=0\nhttpProxy=http://old 1\n\n[Later]\nProxyType=7\n",
                    kOn,
                    "# mine\n[Cache]\nMaxSize=5\n\n[Proxy Settings]\nftpProxy=ftp://f 21\n"
                    "ProxyType=1\nhttpProxy=http://10.0.0.1 8080\n"
                    "httpsProxy=http://10.0.0.1 8080\n\n[Later]\nProxyType=7\n"},
        RewriteCase{"GroupMissingAfterUnterminatedLine", "[Cache]\nMaxSize=5", kOff,
                    "[Cache]\nMaxSize=5\n\n[Proxy Settings]\nProxyType=0\n"},
        RewriteCase{"CrLfForNewLines",
                    "[Proxy Settings]\r\n# note\r\n ProxyType = 0\r\nNoProxyFor=localhost", kOn,
                    "[Proxy Settings]\r\n# note\r\nProxyType=1\r\nNoProxyFor=localhost\r\n"
                    "httpProxy=http://10.0.0.1 8080\r\nhttpsProxy=http://10.0.0.1 8080\r\n"},
        RewriteCase{"CrLfForNewGroup", "[Cache]\r\nMaxSize=5\n", kOff,
                    "[Cache]\r\nMaxSize=5\n\r\n[Proxy Settings]\r\nProxyType=0\r\n"},
        RewriteCase{"RepeatedGroupsAllSet",
                    "[Proxy Settings]\nProxyType=1\n[Proxy Settings]\nProxyType=1\n", kOff,
                    "[Proxy Settings]\nProxyType=0\n[Proxy Settings]\nProxyType=0\n"},
        RewriteCase{"OtherKeysStay",
                    "[Proxy Settings]\nProxyType=1\nhttpProxy=http://10.0.0.1 8080\n", kOff,
                    "[Proxy Settings]\nProxyType=0\nhttpProxy=http://10.0.0.1 8080\n"},
        RewriteCase{"KeyAfterHeader", "[Proxy Settings]\n# none yet\n", kOff,
                    "[Proxy Settings]\nProxyType=0\n# none yet\n"},
        RewriteCase{"ByteOrderMark", "\xEF\xBB\xBF[Proxy Settings]\nProxyType=1\n", kOff,
                    "\xEF\xBB\xBF[Proxy Settings]\nProxyType=0\n"},
        RewriteCase{"RemovalInEveryCopy",
                    "[Proxy Settings]\nhttpProxy=a\nProxyType=1\n[Other]\nhttpProxy=b\n"
                    "[Proxy Settings]\nhttpProxy=c",
                    {{"httpProxy", std::nullopt}},
                    "[Proxy Settings]\nProxyType=1\n[Other]\nhttpProxy=b\n[Proxy Settings]\n"},
        RewriteCase{"RemovalAddsNothing",
                    "[Cache]\nMaxSize=5",
                    {{"httpProxy", std::nullopt}},
                    "[Cache]\nMaxSize=5"}),
    [](const auto& test) { return std::string(test.param.name); });

struct ReadCase {
    const char* name;
    const char* text;
    std::optional<std::string> type;
    std::optional<std::string> http;
};

class ReadKioslavercValuesTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadKioslavercValuesTest, ReadsAsKConfig)
{
    const KioslavercEntries expected = {{"ProxyType", GetParam().type},
                                        {"httpProxy", GetParam().http}};
    EXPECT_EQ(ReadKioslavercValues(GetParam().text, {"ProxyType", "httpProxy"}), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadKioslavercValuesTest,
    ::testing::Values(
        ReadCase{"LastWins",
                 "[Proxy Settings]\nProxyType=1\n ProxyType = 2 \r\nhttpProxy=a\n[Other]\n"
                 "httpProxy=b\n[Proxy Settings]\nhttpProxy=c d\n",
                 "2", "c d"},
        ReadCase{"OtherGroupsOnly", "[Other]\nProxyType=1\n", std::nullopt, std::nullopt},
        ReadCase{"ByteOrderMark", "\xEF\xBB\xBF[Proxy Settings]\nhttpProxy=\n", std::nullopt, ""}),
    [](const auto& test) { return std::string(test.param.name); });

class KioslavercFileTest : public ::testing::Test {
protected:
    std::string Root(const std::string& name) const { return user_.Root().File(name); }
    // KConfig's lock for the user's file.
    std::string LockPath() const { return std::filesystem::canonical(path_).string() + ".lock"; }

    IsolatedUserEnvironment user_;
    const std::string path_ = KioslavercPath();
    const std::string before_ = "[Proxy Settings]\nProxyType=0\n";
};

struct InUseCase {
    const char* name;
    const char* link;    // nullptr: a plain file, "": none
    const char* desktop; // nullptr: unset
    bool inUse;
};

class KioslavercInUseTest : public KioslavercFileTest,
                            public ::testing::WithParamInterface<InUseCase> {};

TEST_P(KioslavercInUseTest, OnlyForKde)
{
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", GetParam().desktop
                                                 ? std::optional<std::string>(GetParam().desktop)
                                                 : std::nullopt);
    if (!GetParam().link)
        WriteFileBytes(path_, before_);
    else if (*GetParam().link && symlink(GetParam().link, path_.c_str()) != 0)
        FAIL() << "no link";
    EXPECT_EQ(KioslavercInUse(), GetParam().inUse);
}

INSTANTIATE_TEST_SUITE_P(Homes, KioslavercInUseTest,
                         ::testing::Values(InUseCase{"Gnome", "", "ubuntu:GNOME", false},
                                           InUseCase{"NoDesktop", "", nullptr, false},
                                           InUseCase{"PlasmaSession", "", "kde", true},
                                           InUseCase{"ExistingFile", nullptr, "GNOME", true},
                                           InUseCase{"LinkToNothingYet", "../dots/kioslaverc",
                                                     nullptr, true}),
                         [](const auto& test) { return std::string(test.param.name); });

struct LinkCase {
    const char* name;
    // Each link below the test's root and the target it names; "/" marks a
    // target below the root.
    std::vector<std::pair<const char*, const char*>> links;
    const char* file; // where the text is, below the root
    bool exists;
};

class UpdateKioslavercTest : public KioslavercFileTest,
                             public ::testing::WithParamInterface<LinkCase> {};

TEST_P(UpdateKioslavercTest, WritesTheFileLinkedTo)
{
    std::filesystem::create_directories(Root("dots/inner"));
    const std::string file = Root(GetParam().file);
    if (GetParam().exists) {
        WriteFileBytes(file, before_);
        ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    }
    for (const auto& [link, target] : GetParam().links) {
        const std::string text = target[0] == '/' ? Root(target + 1) : target;
        ASSERT_EQ(symlink(text.c_str(), Root(link).c_str()), 0);
    }
    const std::string before = GetParam().exists ? before_ : "";
    EXPECT_EQ(ReadKioslaverc(), before);

    UpdateKioslaverc(kOn);

    EXPECT_EQ(ReadFileBytes(file), RewriteKioslaverc(before, kOn));
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, GetParam().exists ? 0600u : 0644u);
    for (const auto& link : GetParam().links)
        EXPECT_TRUE(std::filesystem::is_symlink(Root(link.first))) << link.first;
    EXPECT_FALSE(std::filesystem::exists(LockPath()));
}

INSTANTIATE_TEST_SUITE_P(Files, UpdateKioslavercTest,
                         ::testing::Values(LinkCase{"PlainFile", {}, "config/kioslaverc", true},
                                           LinkCase{"LinkChain",
                                                    {{"config/kioslaverc", "../dots/rc"},
                                                     {"dots/rc", "/dots/inner/kioslaverc"}},
                                                    "dots/inner/kioslaverc",
                                                    true},
                                           LinkCase{
                                               "LinkToNothingYet",
                                               {{"config/kioslaverc", "../dots/inner/kioslaverc"}},
                                               "dots/inner/kioslaverc",
                                               false}),
                         [](const auto& test) { return std::string(test.param.name); });

// Another process of this program takes the lock, as a KDE program would,
// and either stops holding it or ends without releasing it, as in a crash.
// Its pid once it has; -1 otherwise.
pid_t TakeLockInChild(const std::string& lockPath, bool staysAlive)
{
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        try {
            const posix::QtLockFile held(lockPath, std::chrono::milliseconds(0));
            if (staysAlive)
                raise(SIGSTOP);
            _exit(0);
        } catch (...) {
            _exit(1);
        }
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, WUNTRACED) != pid)
        return -1;
    const bool held = staysAlive ? WIFSTOPPED(status) : WIFEXITED(status) && !WEXITSTATUS(status);
    return held ? pid : -1;
}

TEST_F(KioslavercFileTest, GivesUpWhileALiveProcessHoldsTheLock)
{
    WriteFileBytes(path_, before_);
    const pid_t holder = TakeLockInChild(LockPath(), true);
    ASSERT_GT(holder, 0);

    try {
        UpdateKioslaverc(kOn);
        ADD_FAILURE() << "written under another process's lock";
    } catch (const FileError& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr(LockPath()));
    }
    EXPECT_EQ(ReadFileBytes(path_), before_);
    EXPECT_TRUE(std::filesystem::exists(LockPath()));
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
}

TEST_F(KioslavercFileTest, TakesOverTheLockOfAFinishedProcess)
{
    WriteFileBytes(path_, before_);
    ASSERT_GT(TakeLockInChild(LockPath(), false), 0);
    ASSERT_TRUE(std::filesystem::exists(LockPath()));

    UpdateKioslaverc(kOn);

    EXPECT_EQ(ReadFileBytes(path_), RewriteKioslaverc(before_, kOn));
    EXPECT_FALSE(std::filesystem::exists(LockPath()));
}

} // namespace
} // namespace platform
