#include "platform/environment.h"
#include "platform/named_mutexes.h"
#include "platform/posix/named_mutexes.h"
#include "tests/support/temp_dir.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using platform::kErrorAlreadyExists;
using platform::kErrorInvalidName;
using platform::kErrorSuccess;
using platform::NamedMutexes;
using platform::SystemNamedMutexes;
using platform::WinError;
using platform::posix::GuardFileName;
using platform::posix::LockFileName;

// A pipe that carries 32-bit numbers from one process to another.
class Pipe {
public:
    Pipe()
    {
        if (pipe2(fds_, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe2 failed");
    }
    ~Pipe()
    {
        CloseReadEnd();
        CloseWriteEnd();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    void CloseReadEnd() { CloseEnd(0); }
    void CloseWriteEnd() { CloseEnd(1); }

    void Send(std::int32_t value) const
    {
        if (write(fds_[1], &value, sizeof value) != static_cast<ssize_t>(sizeof value))
            throw std::runtime_error("pipe write failed");
    }

    // Nothing once every writer has gone.
    std::optional<std::int32_t> Receive() const
    {
        std::int32_t value = 0;
        auto* bytes = reinterpret_cast<char*>(&value);
        std::size_t got = 0;
        while (got < sizeof value) {
            const ssize_t n = read(fds_[0], bytes + got, sizeof value - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return std::nullopt;
            got += static_cast<std::size_t>(n);
        }
        return value;
    }

private:
    void CloseEnd(int end)
    {
        if (fds_[end] >= 0)
            close(fds_[end]);
        fds_[end] = -1;
    }

    int fds_[2] = {-1, -1};
};

// Holds back any number of children until the test lets them all go at once.
class StartGate {
public:
    void WaitInChild()
    {
        pipe_.CloseWriteEnd();
        pipe_.Receive();
    }
    void Open() { pipe_.CloseWriteEnd(); }

private:
    Pipe pipe_;
};

// Another process of the session that creates one mutex and holds it until
// told to close it.
class HolderProcess {
public:
    explicit HolderProcess(const std::string& name, StartGate* gate = nullptr)
    {
        pid_ = fork();
        if (pid_ < 0)
            throw std::runtime_error("fork failed");
        if (pid_ == 0)
            RunChild(name, gate);
        commands_.CloseReadEnd();
        reports_.CloseWriteEnd();
    }
    ~HolderProcess() { Kill(); }
    HolderProcess(const HolderProcess&) = delete;
    HolderProcess& operator=(const HolderProcess&) = delete;

    // Waits until the child has created its handle.
    WinError CreateResult() const
    {
        const auto result = reports_.Receive();
        if (!result)
            throw std::runtime_error("the holder died before creating its mutex");
        return *result;
    }

    // Returns once the child has closed its handle; the child stays alive.
    void CloseHandle() const
    {
        commands_.Send(0);
        if (!reports_.Receive())
            throw std::runtime_error("the holder died before closing its mutex");
    }

    void Kill()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    [[noreturn]] void RunChild(const std::string& name, StartGate* gate)
    {
        // Siblings hold copies of each other's pipes, so a child could not
        // notice the test going away by itself.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        commands_.CloseWriteEnd();
        reports_.CloseReadEnd();
        if (gate)
            gate->WaitInChild();
        NamedMutexes& mutexes = SystemNamedMutexes();
        const NamedMutexes::Created created = mutexes.Create(name);
        reports_.Send(created.lastError);
        if (commands_.Receive()) {
            mutexes.Close(created.handle);
            reports_.Send(0);
        }
        commands_.Receive();
        _exit(0);
    }

    pid_t pid_ = -1;
    Pipe commands_;
    Pipe reports_;
};

std::string LockFilePath(std::string_view name)
{
    return platform::RuntimeFolder() + "/" + LockFileName(name).value();
}

std::vector<std::string> FilesInRuntimeFolder()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(platform::RuntimeFolder()))
        names.push_back(entry.path().filename().string());
    return names;
}

std::size_t OpenDescriptorCount()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

class NamedMutexesTest : public ::testing::Test {
protected:
    test_support::IsolatedUserEnvironment environment_;
    NamedMutexes& mutexes_ = SystemNamedMutexes();
};

TEST_F(NamedMutexesTest, AnotherProcessHoldingANameMakesItExistUntilItCloses)
{
    HolderProcess holder("Hopvane_off");
    ASSERT_EQ(holder.CreateResult(), kErrorSuccess);

    EXPECT_TRUE(mutexes_.Exists("Hopvane_off"));
    const NamedMutexes::Created mine = mutexes_.Create("Hopvane_off");
    EXPECT_EQ(mine.lastError, kErrorAlreadyExists);
    EXPECT_NE(mine.handle, NamedMutexes::kNoHandle);
    mutexes_.Close(mine.handle);
    EXPECT_TRUE(mutexes_.Exists("Hopvane_off"));

    holder.CloseHandle();
    EXPECT_FALSE(mutexes_.Exists("Hopvane_off"));
    EXPECT_FALSE(std::filesystem::exists(LockFilePath("Hopvane_off")));
}

TEST_F(NamedMutexesTest, KilledHolderLeavesNoName)
{
    HolderProcess holder("Hopvane_ok");
    ASSERT_EQ(holder.CreateResult(), kErrorSuccess);
    ASSERT_TRUE(mutexes_.Exists("Hopvane_ok"));

    holder.Kill();

    EXPECT_FALSE(mutexes_.Exists("Hopvane_ok"));
    const NamedMutexes::Created again = mutexes_.Create("Hopvane_ok");
    EXPECT_EQ(again.lastError, kErrorSuccess);
    mutexes_.Close(again.handle);
    EXPECT_FALSE(mutexes_.Exists("Hopvane_ok"));
}

TEST_F(NamedMutexesTest, TwoHoldersKeepANameUntilBothClose)
{
    HolderProcess first("Hopvane_change");
    ASSERT_EQ(first.CreateResult(), kErrorSuccess);
    HolderProcess second("Hopvane_change");
    ASSERT_EQ(second.CreateResult(), kErrorAlreadyExists);

    first.CloseHandle();
    EXPECT_TRUE(mutexes_.Exists("Hopvane_change"));
    EXPECT_TRUE(std::filesystem::exists(LockFilePath("Hopvane_change")));

    second.CloseHandle();
    EXPECT_FALSE(mutexes_.Exists("Hopvane_change"));
    EXPECT_FALSE(std::filesystem::exists(LockFilePath("Hopvane_change")));
}

TEST_F(NamedMutexesTest, ProcessAndChildKeepANameUntilBothClose)
{
    // The child comes first: a child forked later would share this
    // process's lock through the inherited descriptor.
    HolderProcess child("Hopvane_go_change");
    ASSERT_EQ(child.CreateResult(), kErrorSuccess);
    const NamedMutexes::Created mine = mutexes_.Create("Hopvane_go_change");
    ASSERT_EQ(mine.lastError, kErrorAlreadyExists);

    child.CloseHandle();
    EXPECT_TRUE(mutexes_.Exists("Hopvane_go_change"));

    mutexes_.Close(mine.handle);
    EXPECT_FALSE(mutexes_.Exists("Hopvane_go_change"));
}

TEST_F(NamedMutexesTest, ClosingTheOnlyHandleEndsTheNameAndRemovesItsLockFile)
{
    const NamedMutexes::Created created = mutexes_.Create("Hopvane_off");
    ASSERT_EQ(created.lastError, kErrorSuccess);
    ASSERT_NE(created.handle, NamedMutexes::kNoHandle);
    EXPECT_TRUE(mutexes_.Exists("Hopvane_off"));
    EXPECT_TRUE(std::filesystem::exists(LockFilePath("Hopvane_off")));

    mutexes_.Close(created.handle);

    EXPECT_FALSE(mutexes_.Exists("Hopvane_off"));
    EXPECT_THAT(FilesInRuntimeFolder(), ::testing::ElementsAre(GuardFileName()));
}

TEST_F(NamedMutexesTest, SecondHandleInTheSameProcessSeesTheNameAlreadyThere)
{
    const NamedMutexes::Created first = mutexes_.Create("Hopvane_ok");
    const NamedMutexes::Created second = mutexes_.Create("Hopvane_ok");
    EXPECT_EQ(first.lastError, kErrorSuccess);
    EXPECT_EQ(second.lastError, kErrorAlreadyExists);
    EXPECT_NE(first.handle, second.handle);

    mutexes_.Close(first.handle);
    EXPECT_TRUE(mutexes_.Exists("Hopvane_ok"));
    mutexes_.Close(second.handle);
    EXPECT_FALSE(mutexes_.Exists("Hopvane_ok"));
}

TEST_F(NamedMutexesTest, ForkedChildExitingLeavesTheParentsNameAlone)
{
    const NamedMutexes::Created created = mutexes_.Create("Hopvane_off");
    ASSERT_EQ(created.lastError, kErrorSuccess);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SystemNamedMutexes().Close(created.handle);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));

    EXPECT_TRUE(mutexes_.Exists("Hopvane_off"));
    EXPECT_TRUE(std::filesystem::exists(LockFilePath("Hopvane_off")));
    mutexes_.Close(created.handle);
    EXPECT_FALSE(mutexes_.Exists("Hopvane_off"));
}

TEST_F(NamedMutexesTest, DistinctNamesAreIndependent)
{
    const NamedMutexes::Created off = mutexes_.Create("Hopvane_off");
    EXPECT_FALSE(mutexes_.Exists("Hopvane_ok"));
    const NamedMutexes::Created ok = mutexes_.Create("Hopvane_ok");
    EXPECT_EQ(ok.lastError, kErrorSuccess);

    mutexes_.Close(off.handle);
    EXPECT_FALSE(mutexes_.Exists("Hopvane_off"));
    EXPECT_TRUE(mutexes_.Exists("Hopvane_ok"));
    mutexes_.Close(ok.handle);
}

TEST_F(NamedMutexesTest, NamesDifferingInCaseAreDifferentMutexes)
{
    const NamedMutexes::Created lower = mutexes_.Create("Hopvane_ok");
    EXPECT_FALSE(mutexes_.Exists("Hopvane_OK"));
    const NamedMutexes::Created upper = mutexes_.Create("Hopvane_OK");
    EXPECT_EQ(upper.lastError, kErrorSuccess);
    mutexes_.Close(lower.handle);
    EXPECT_TRUE(mutexes_.Exists("Hopvane_OK"));
    mutexes_.Close(upper.handle);
}

TEST_F(NamedMutexesTest, NamesWithOddCharactersAreDistinctAndLeaveNothingBehind)
{
    // Pairs that a careless mapping to file names would merge.
    const std::vector<std::string> names = {
        "a/b",
        "a%2Fb",
        "a%2fb",
        ".",
        "..",
        "a b",
        "a\tb",
        "a:b",
        "a*b",
        "a?b",
        "\xC3\xA9t\xC3\xA9",
        "%C3%A9t%C3%A9",
        "Global\\x",
        "Global%5Cx",
        "-",
        "_",
        "x.mutex",
    };
    std::vector<NamedMutexes::Handle> handles;
    for (const std::string& name : names) {
        const NamedMutexes::Created created = mutexes_.Create(name);
        EXPECT_EQ(created.lastError, kErrorSuccess) << name;
        handles.push_back(created.handle);
    }
    for (const std::string& name : names)
        EXPECT_TRUE(mutexes_.Exists(name)) << name;
    EXPECT_EQ(FilesInRuntimeFolder().size(), names.size() + 1);

    for (const NamedMutexes::Handle handle : handles)
        mutexes_.Close(handle);
    for (const std::string& name : names)
        EXPECT_FALSE(mutexes_.Exists(name)) << name;
    EXPECT_THAT(FilesInRuntimeFolder(), ::testing::ElementsAre(GuardFileName()));
}

TEST_F(NamedMutexesTest, LocalPrefixNamesThePlainMutexAndGlobalPrefixAnother)
{
    const NamedMutexes::Created plain = mutexes_.Create("Hopvane_off");
    EXPECT_TRUE(mutexes_.Exists("Local\\Hopvane_off"));
    EXPECT_FALSE(mutexes_.Exists("Global\\Hopvane_off"));

    const NamedMutexes::Created local = mutexes_.Create("Local\\Hopvane_off");
    EXPECT_EQ(local.lastError, kErrorAlreadyExists);
    const NamedMutexes::Created global = mutexes_.Create("Global\\Hopvane_off");
    EXPECT_EQ(global.lastError, kErrorSuccess);

    for (const NamedMutexes::Handle handle : {plain.handle, local.handle, global.handle})
        mutexes_.Close(handle);
    EXPECT_FALSE(mutexes_.Exists("Hopvane_off"));
}

TEST_F(NamedMutexesTest, BackslashOutsideTheNamespacePrefixIsAnInvalidName)
{
    for (const char* name : {"a\\b", "\\x", "x\\", "Local\\", "Global\\", "Global\\a\\b",
                             "Session\\1\\x", "local\\x"}) {
        const NamedMutexes::Created created = mutexes_.Create(name);
        EXPECT_EQ(created.lastError, kErrorInvalidName) << name;
        EXPECT_EQ(created.handle, NamedMutexes::kNoHandle) << name;
        EXPECT_FALSE(mutexes_.Exists(name)) << name;
    }
}

TEST_F(NamedMutexesTest, EmptyNameMakesAnUnnamedMutexNobodyElseSees)
{
    const NamedMutexes::Created first = mutexes_.Create("");
    const NamedMutexes::Created second = mutexes_.Create("");
    EXPECT_EQ(first.lastError, kErrorSuccess);
    EXPECT_EQ(second.lastError, kErrorSuccess);
    EXPECT_NE(first.handle, NamedMutexes::kNoHandle);
    EXPECT_NE(first.handle, second.handle);
    EXPECT_FALSE(mutexes_.Exists(""));
    mutexes_.Close(first.handle);
    mutexes_.Close(second.handle);
}

TEST_F(NamedMutexesTest, TooLongANameIsRefused)
{
    const NamedMutexes::Created created = mutexes_.Create(std::string(300, 'x'));
    EXPECT_EQ(created.lastError, kErrorInvalidName);
    EXPECT_EQ(created.handle, NamedMutexes::kNoHandle);
}

TEST_F(NamedMutexesTest, CreateAndCloseLeakNoDescriptors)
{
    // Warm up whatever the first call allocates once.
    mutexes_.Close(mutexes_.Create("warm-up").handle);
    const std::size_t before = OpenDescriptorCount();

    for (int round = 0; round < 50; ++round) {
        const NamedMutexes::Created first = mutexes_.Create("Hopvane_ok");
        const NamedMutexes::Created second = mutexes_.Create("Hopvane_ok");
        const NamedMutexes::Created unnamed = mutexes_.Create("");
        mutexes_.Create("bad\\name");
        mutexes_.Exists("Hopvane_ok");
        mutexes_.Close(first.handle);
        mutexes_.Close(second.handle);
        mutexes_.Close(unnamed.handle);
    }

    EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST_F(NamedMutexesTest, HandlesAreClosedOnExec)
{
    const NamedMutexes::Created created = mutexes_.Create("Hopvane_off");
    const std::string lockFile = LockFilePath("Hopvane_off");
    int found = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ignored;
        if (std::filesystem::read_symlink(entry.path(), ignored) != lockFile)
            continue;
        ++found;
        const int fd = std::stoi(entry.path().filename().string());
        EXPECT_NE(fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    }
    EXPECT_EQ(found, 1);
    mutexes_.Close(created.handle);
}

TEST_F(NamedMutexesTest, ClosingAnUnknownHandleChangesNothing)
{
    const NamedMutexes::Created created = mutexes_.Create("Hopvane_off");
    mutexes_.Close(NamedMutexes::kNoHandle);
    mutexes_.Close(created.handle + 1000);
    EXPECT_TRUE(mutexes_.Exists("Hopvane_off"));
    mutexes_.Close(created.handle);
    mutexes_.Close(created.handle);
    EXPECT_FALSE(mutexes_.Exists("Hopvane_off"));
}

TEST_F(NamedMutexesTest, RuntimeFolderIsTakenFromTheEnvironmentAtEachCall)
{
    const NamedMutexes::Created first = mutexes_.Create("Hopvane_off");
    const std::string firstLockFile = LockFilePath("Hopvane_off");
    {
        test_support::IsolatedUserEnvironment otherSession;
        EXPECT_FALSE(mutexes_.Exists("Hopvane_off"));
        const NamedMutexes::Created second = mutexes_.Create("Hopvane_off");
        EXPECT_EQ(second.lastError, kErrorSuccess);
        // The handle belongs to the folder it was made in, whatever the
        // environment says now.
        mutexes_.Close(first.handle);
        EXPECT_FALSE(std::filesystem::exists(firstLockFile));
        EXPECT_TRUE(mutexes_.Exists("Hopvane_off"));
        mutexes_.Close(second.handle);
    }
    EXPECT_FALSE(mutexes_.Exists("Hopvane_off"));
}

TEST_F(NamedMutexesTest, RacingCreatorsSeeExactlyOneNewMutex)
{
    constexpr int kRounds = 5;
    constexpr int kCreators = 6;
    for (int round = 0; round < kRounds; ++round) {
        StartGate gate;
        std::vector<std::unique_ptr<HolderProcess>> creators;
        for (int i = 0; i < kCreators; ++i)
            creators.push_back(std::make_unique<HolderProcess>("Hopvane_go_change", &gate));
        gate.Open();

        int created = 0;
        int alreadyThere = 0;
        for (const auto& creator : creators) {
            const WinError result = creator->CreateResult();
            created += result == kErrorSuccess;
            alreadyThere += result == kErrorAlreadyExists;
        }
        EXPECT_EQ(created, 1) << "round " << round;
        EXPECT_EQ(alreadyThere, kCreators - 1) << "round " << round;

        for (const auto& creator : creators)
            creator->CloseHandle();
        EXPECT_FALSE(mutexes_.Exists("Hopvane_go_change"));
        EXPECT_THAT(FilesInRuntimeFolder(), ::testing::ElementsAre(GuardFileName()));
    }
}

struct FileNameCase {
    const char* mutexName;
    std::optional<std::string> fileName;
};

class LockFileNameTest : public ::testing::TestWithParam<FileNameCase> {};

TEST_P(LockFileNameTest, MapsTheNameSafely)
{
    EXPECT_EQ(LockFileName(GetParam().mutexName), GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(
    Names, LockFileNameTest,
    ::testing::Values(FileNameCase{"Hopvane_off", "Hopvane_off.mutex"},
                      FileNameCase{"Az09_.-", "Az09_.-.mutex"}, FileNameCase{"a b", "a%20b.mutex"},
                      FileNameCase{"a/b", "a%2Fb.mutex"}, FileNameCase{"100%", "100%25.mutex"},
                      FileNameCase{"..", "...mutex"}, FileNameCase{"\xC3\xA9", "%C3%A9.mutex"},
                      FileNameCase{"Local\\x", "x.mutex"},
                      FileNameCase{"Global\\x", "Global%5Cx.mutex"},
                      FileNameCase{"Local\\Global\\x", "Global%5Cx.mutex"},
                      FileNameCase{"", std::nullopt}, FileNameCase{"a\\b", std::nullopt},
                      FileNameCase{"Local\\", std::nullopt},
                      FileNameCase{"Global\\", std::nullopt}));

} // namespace
