#include "platform/environment.h"
#include "platform/named_mutexes.h"
#include "platform/win32/wide_text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>

namespace {

using platform::kErrorAlreadyExists;
using platform::kErrorInvalidHandle;
using platform::kErrorSuccess;
using platform::NamedMutexes;
using platform::SystemNamedMutexes;
using platform::WinError;

class Handle {
public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    ~Handle() { Reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE Get() const { return handle_; }
    HANDLE* Receive()
    {
        Reset();
        return &handle_;
    }
    void Reset()
    {
        if (handle_)
            CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_;
};

std::string HolderPath()
{
    const std::string tests = platform::ExecutablePath();
    return tests.substr(0, tests.find_last_of('\\') + 1) + "hopvane_mutex_holder.exe";
}

// Another process (CreateProcessW) that creates one mutex and holds it until
// told to close it; see win32_mutex_holder.cpp.
class HolderProcess {
public:
    explicit HolderProcess(const std::string& name)
    {
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        Handle childInput;
        Handle childOutput;
        if (!CreatePipe(childInput.Receive(), input_.Receive(), &inheritable, 0) ||
            !CreatePipe(output_.Receive(), childOutput.Receive(), &inheritable, 0))
            throw std::runtime_error("CreatePipe failed");
        SetHandleInformation(input_.Get(), HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(output_.Get(), HANDLE_FLAG_INHERIT, 0);

        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = childInput.Get();
        startup.hStdOutput = childOutput.Get();
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        const std::wstring program = platform::win32::ToWide(HolderPath());
        std::wstring commandLine =
            L"\"" + program + L"\" \"" + platform::win32::ToWide(name) + L"\"";
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            nullptr, &startup, &started))
            throw std::runtime_error("cannot start " + HolderPath());
        CloseHandle(started.hThread);
        *process_.Receive() = started.hProcess;
    }
    ~HolderProcess() { Kill(); }
    HolderProcess(const HolderProcess&) = delete;
    HolderProcess& operator=(const HolderProcess&) = delete;

    // Waits until the holder has created its handle.
    WinError CreateResult() const { return std::stoi(ReadLine()); }

    // Returns once the holder has closed its handle; it stays alive.
    void CloseMutex() const
    {
        DWORD written = 0;
        if (!WriteFile(input_.Get(), "close\n", 6, &written, nullptr) || ReadLine() != "closed")
            throw std::runtime_error("the holder died before closing its mutex");
    }

    void Kill()
    {
        if (!process_.Get())
            return;
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), INFINITE);
        process_.Reset();
    }

private:
    std::string ReadLine() const
    {
        std::string line;
        char c = 0;
        DWORD got = 0;
        while (ReadFile(output_.Get(), &c, 1, &got, nullptr) && got == 1 && c != '\n') {
            if (c != '\r')
                line += c;
        }
        if (line.empty())
            throw std::runtime_error("the holder said nothing");
        return line;
    }

    Handle process_;
    Handle input_;
    Handle output_;
};

// The name as other programs see it, asked of the system directly.
bool OpenableAsMutex(const wchar_t* name)
{
    const HANDLE handle = OpenMutexW(SYNCHRONIZE, FALSE, name);
    if (handle)
        CloseHandle(handle);
    return handle != nullptr;
}

class Win32NamedMutexesTest : public ::testing::Test {
protected:
    NamedMutexes& mutexes_ = SystemNamedMutexes();
};

TEST_F(Win32NamedMutexesTest, AnotherProcessHoldingAStatusNameMakesCreationSeeItExist)
{
    HolderProcess holder("Hopvane_off");
    ASSERT_EQ(holder.CreateResult(), kErrorSuccess);

    EXPECT_TRUE(mutexes_.Exists("Hopvane_off"));
    const NamedMutexes::Created mine = mutexes_.Create("Hopvane_off");
    EXPECT_EQ(mine.lastError, kErrorAlreadyExists);
    EXPECT_NE(mine.handle, NamedMutexes::kNoHandle);
    mutexes_.Close(mine.handle);
    EXPECT_TRUE(mutexes_.Exists("Hopvane_off"));

    holder.CloseMutex();
    EXPECT_FALSE(mutexes_.Exists("Hopvane_off"));
    EXPECT_FALSE(OpenableAsMutex(L"Hopvane_off"));
}

TEST_F(Win32NamedMutexesTest, ANameCreatedHereIsSeenByAnotherProcess)
{
    const NamedMutexes::Created mine = mutexes_.Create("Hopvane_ok");
    ASSERT_EQ(mine.lastError, kErrorSuccess);
    {
        HolderProcess other("Hopvane_ok");
        EXPECT_EQ(other.CreateResult(), kErrorAlreadyExists);
    }
    mutexes_.Close(mine.handle);
    HolderProcess later("Hopvane_ok");
    EXPECT_EQ(later.CreateResult(), kErrorSuccess);
}

TEST_F(Win32NamedMutexesTest, KilledHolderLeavesNoName)
{
    HolderProcess holder("Hopvane_change");
    ASSERT_EQ(holder.CreateResult(), kErrorSuccess);
    ASSERT_TRUE(mutexes_.Exists("Hopvane_change"));

    holder.Kill();

    EXPECT_FALSE(mutexes_.Exists("Hopvane_change"));
    const NamedMutexes::Created again = mutexes_.Create("Hopvane_change");
    EXPECT_EQ(again.lastError, kErrorSuccess);
    mutexes_.Close(again.handle);
}

TEST_F(Win32NamedMutexesTest, TwoHoldersKeepANameUntilBothClose)
{
    HolderProcess first("Hopvane_go_change");
    ASSERT_EQ(first.CreateResult(), kErrorSuccess);
    HolderProcess second("Hopvane_go_change");
    ASSERT_EQ(second.CreateResult(), kErrorAlreadyExists);

    first.CloseMutex();
    EXPECT_TRUE(mutexes_.Exists("Hopvane_go_change"));
    second.CloseMutex();
    EXPECT_FALSE(mutexes_.Exists("Hopvane_go_change"));
}

TEST_F(Win32NamedMutexesTest, SecondHandleInTheSameProcessSeesTheNameAlreadyThere)
{
    const NamedMutexes::Created first = mutexes_.Create("Hopvane_ok");
    const NamedMutexes::Created second = mutexes_.Create("Hopvane_ok");
    EXPECT_EQ(first.lastError, kErrorSuccess);
    EXPECT_EQ(second.lastError, kErrorAlreadyExists);
    EXPECT_NE(first.handle, second.handle);

    mutexes_.Close(first.handle);
    EXPECT_TRUE(OpenableAsMutex(L"Hopvane_ok"));
    mutexes_.Close(second.handle);
    EXPECT_FALSE(OpenableAsMutex(L"Hopvane_ok"));
}

TEST_F(Win32NamedMutexesTest, NamesDifferingInCaseAreDifferentMutexes)
{
    const NamedMutexes::Created lower = mutexes_.Create("Hopvane_ok");
    EXPECT_FALSE(mutexes_.Exists("Hopvane_OK"));
    const NamedMutexes::Created upper = mutexes_.Create("Hopvane_OK");
    EXPECT_EQ(upper.lastError, kErrorSuccess);
    mutexes_.Close(lower.handle);
    EXPECT_TRUE(mutexes_.Exists("Hopvane_OK"));
    mutexes_.Close(upper.handle);
}

TEST_F(Win32NamedMutexesTest, NonAsciiNamesReachTheSystemAsUtf16)
{
    // "Hopvane_změna"
    const NamedMutexes::Created created = mutexes_.Create("Hopvane_zm\xC4\x9Bna");
    ASSERT_EQ(created.lastError, kErrorSuccess);
    EXPECT_TRUE(OpenableAsMutex(L"Hopvane_zm\u011Bna"));
    mutexes_.Close(created.handle);
    EXPECT_FALSE(OpenableAsMutex(L"Hopvane_zm\u011Bna"));
}

TEST_F(Win32NamedMutexesTest, AnObjectOfAnotherKindWithTheNameFailsTheCreation)
{
    const Handle event(CreateEventW(nullptr, FALSE, FALSE, L"Hopvane_ok"));
    ASSERT_NE(event.Get(), nullptr);
    const NamedMutexes::Created created = mutexes_.Create("Hopvane_ok");
    EXPECT_EQ(created.handle, NamedMutexes::kNoHandle);
    EXPECT_EQ(created.lastError, kErrorInvalidHandle);
    EXPECT_FALSE(mutexes_.Exists("Hopvane_ok"));
}

TEST_F(Win32NamedMutexesTest, EmptyNameMakesAnUnnamedMutexNobodyElseSees)
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

TEST_F(Win32NamedMutexesTest, LocalPrefixNamesThePlainMutex)
{
    const NamedMutexes::Created plain = mutexes_.Create("Hopvane_off");
    EXPECT_TRUE(mutexes_.Exists("Local\\Hopvane_off"));
    const NamedMutexes::Created local = mutexes_.Create("Local\\Hopvane_off");
    EXPECT_EQ(local.lastError, kErrorAlreadyExists);
    mutexes_.Close(plain.handle);
    mutexes_.Close(local.handle);
    EXPECT_FALSE(mutexes_.Exists("Hopvane_off"));
}

TEST_F(Win32NamedMutexesTest, BackslashOutsideTheNamespacePrefixGivesNoHandle)
{
    for (const char* name : {"a\\b", "Local\\a\\b"}) {
        const NamedMutexes::Created created = mutexes_.Create(name);
        EXPECT_EQ(created.handle, NamedMutexes::kNoHandle) << name;
        EXPECT_NE(created.lastError, kErrorSuccess) << name;
        EXPECT_FALSE(mutexes_.Exists(name)) << name;
    }
}

} // namespace
