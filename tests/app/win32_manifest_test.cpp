#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <string>

namespace {

// This test program carries the program's manifest; what the loader made of
// it is asked of the system. A null context is the process's default one,
// the one the manifest made.

std::string LowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST(Win32Manifest, SelectsTheVersion6CommonControls)
{
    // Their version number says nothing (Wine's version 6 reports 5.81); the
    // side-by-side folder they come from does.
    const HMODULE controls = LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(controls, nullptr);
    char path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(controls, path, MAX_PATH), 0u);
    EXPECT_NE(LowerCase(path).find("_microsoft.windows.common-controls_6595b64144ccf1df_6.0."),
              std::string::npos)
        << path;
}

TEST(Win32Manifest, DeclaresPerMonitorDisplayScaling)
{
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()),
              DPI_AWARENESS_PER_MONITOR_AWARE);
}

TEST(Win32Manifest, AsksForNoElevation)
{
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel{};
    ASSERT_TRUE(QueryActCtxW(0, nullptr, nullptr, RunlevelInformationInActivationContext, &runLevel,
                             sizeof runLevel, nullptr));
    EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_FALSE(runLevel.UiAccess);
}

TEST(Win32Manifest, ListsNoSupportedSystemVersions)
{
    // Room for a few entries, in case the manifest had some.
    struct {
        DWORD count;
        COMPATIBILITY_CONTEXT_ELEMENT elements[8];
    } compatibility{};
    ASSERT_TRUE(QueryActCtxW(0, nullptr, nullptr, CompatibilityInformationInActivationContext,
                             &compatibility, sizeof compatibility, nullptr));
    EXPECT_EQ(compatibility.count, 0u);
}

} // namespace
