#include "platform/dynamic_library.h"
#include "platform/environment.h"
#include "platform/win32/wide_text.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace platform {
namespace {

using win32::ToWide;

std::string TestModulePath()
{
    const std::string tests = ExecutablePath();
    return tests.substr(0, tests.find_last_of('\\') + 1) + "hopvane_test_module.dll";
}

TEST(Win32DynamicLibrary, FindsTheFunctionsOfASystemLibrary)
{
    const auto kernel = DynamicLibrary::Open("kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    const HMODULE loaded = GetModuleHandleW(L"kernel32.dll");
    EXPECT_EQ(kernel->Symbol("GetTickCount"),
              reinterpret_cast<void*>(GetProcAddress(loaded, "GetTickCount")));
    EXPECT_EQ(kernel->Symbol("HopvaneNoSuchFunction"), nullptr);
}

TEST(Win32DynamicLibrary, MissingLibraryIsNoneAndLeavesTheErrorModeAlone)
{
    const UINT before = GetThreadErrorMode();
    EXPECT_EQ(DynamicLibrary::Open("hopvane-missing-library.dll"), nullptr);
    EXPECT_EQ(GetThreadErrorMode(), before);
}

TEST(Win32DynamicLibrary, LoadsFromAPathOutsideAsciiAndUnloadsWhenReleased)
{
    const test_support::TempDir dir;
    const std::wstring copy = ToWide(dir.File("modul-\xC5\x99\xC3\xAD.dll"));
    ASSERT_TRUE(CopyFileW(ToWide(TestModulePath()).c_str(), copy.c_str(), TRUE)) << GetLastError();
    {
        const auto module = DynamicLibrary::Open(dir.File("modul-\xC5\x99\xC3\xAD.dll"));
        ASSERT_NE(module, nullptr);
        using Answer = int (*)();
        const auto answer = reinterpret_cast<Answer>(module->Symbol("HopvaneTestModuleAnswer"));
        ASSERT_NE(answer, nullptr);
        EXPECT_EQ(answer(), 42);
        EXPECT_NE(GetModuleHandleW(copy.c_str()), nullptr);
    }
    EXPECT_EQ(GetModuleHandleW(copy.c_str()), nullptr);
}

} // namespace
} // namespace platform
