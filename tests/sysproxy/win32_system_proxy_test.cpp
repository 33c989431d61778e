#include "extctl/status_mutex.h"
#include "i18n/lang_dispatcher.h"
#include "i18n/localisation.h"
#include "platform/internet_settings.h"
#include "platform/named_mutexes.h"
#include "platform/proxy_settings.h"
#include "platform/registry.h"
#include "platform/registry_key.h"
#include "sysproxy/system_proxy.h"
#include "tests/support/fake_window.h"
#include "tests/support/raw_registry_win32.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sysproxy {
namespace {

constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

using test_support::RawValue;

// The value as a browser reads it.
RawValue ReadRaw(const wchar_t* name)
{
    return test_support::ReadRawValue(kKey, name);
}

std::vector<std::uint8_t> Utf16WithNul(const std::wstring& text)
{
    std::vector<std::uint8_t> bytes;
    for (const wchar_t unit : text + L'\0') {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

bool MutexExists(const wchar_t* name)
{
    const HANDLE handle = OpenMutexW(SYNCHRONIZE, FALSE, name);
    if (handle)
        CloseHandle(handle);
    return handle != nullptr;
}

// NastavProxy and ZrusProxy on the system's own registry, WinINet and
// mutexes.
class Win32SystemProxyTest : public ::testing::Test {
protected:
    test_support::IsolatedUserEnvironment environment_;
    extctl::StatusMutex status_{platform::SystemNamedMutexes()};
    i18n::TsiLangDispatcher dispatcher_;
    test_support::FakeWindow mainWindow_;
    i18n::Localisation strings_{dispatcher_, mainWindow_};
    SystemProxy proxy_{platform::SystemProxySettingsStores(), status_, strings_};
};

TEST_F(Win32SystemProxyTest, ApplyStoresTheEntryAsAStringAndEnablesItAsADwordUntilCleared)
{
    proxy_.NastavProxy({"192.0.2.7", 3128});

    const RawValue server = ReadRaw(L"ProxyServer");
    ASSERT_EQ(server.result, ERROR_SUCCESS);
    EXPECT_EQ(server.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(server.data.size(), (14u + 1) * 2);
    EXPECT_EQ(server.data, Utf16WithNul(L"192.0.2.7:3128"));

    const RawValue enable = ReadRaw(L"ProxyEnable");
    ASSERT_EQ(enable.result, ERROR_SUCCESS);
    EXPECT_EQ(enable.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(enable.data, (std::vector<std::uint8_t>{1, 0, 0, 0}));

    EXPECT_TRUE(MutexExists(L"Hopvane_ok"));

    proxy_.ZrusProxy();
    EXPECT_EQ(ReadRaw(L"ProxyServer").result, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ReadRaw(L"ProxyEnable").data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST_F(Win32SystemProxyTest, ClearOnAMachineWithoutTheValuesWritesOnlyEnableZero)
{
    proxy_.ZrusProxy();
    const RawValue enable = ReadRaw(L"ProxyEnable");
    ASSERT_EQ(enable.result, ERROR_SUCCESS);
    EXPECT_EQ(enable.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(enable.data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(ReadRaw(L"ProxyServer").result, ERROR_FILE_NOT_FOUND);
}

TEST_F(Win32SystemProxyTest, ClearAfterApplyPutsTheUsersProxyBackAndKeepsTheOkName)
{
    {
        platform::RegistryKey key(platform::CurrentUserRegistry(), platform::kInternetSettingsKey,
                                  platform::kKeyWrite);
        key.WriteString("ProxyServer", "corporate:8080");
        key.WriteInteger("ProxyEnable", 1);
    }
    proxy_.NastavProxy({"192.0.2.7", 3128});
    proxy_.NastavProxy({"proxy.example", 8080});
    EXPECT_EQ(ReadRaw(L"ProxyServer").data, Utf16WithNul(L"proxy.example:8080"));
    proxy_.ZrusProxy();
    EXPECT_EQ(ReadRaw(L"ProxyServer").data, Utf16WithNul(L"corporate:8080"));
    EXPECT_EQ(ReadRaw(L"ProxyEnable").data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_TRUE(MutexExists(L"Hopvane_ok"));
}

} // namespace
} // namespace sysproxy
