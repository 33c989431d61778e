#include "platform/registry.h"
#include "platform/registry_key.h"
#include "tests/support/raw_registry_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform {
namespace {

constexpr const char* kTestKey = "Software\\Kelbrin\\Hopvane tests";
constexpr const wchar_t* kWideTestKey = L"Software\\Kelbrin\\Hopvane tests";

using test_support::RawValue;
using test_support::ReadRawValue;

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> out;
    for (const int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

// Works in a key of its own, removed before and after.
class Win32RegistryTest : public ::testing::Test {
protected:
    Win32RegistryTest() { RegDeleteTreeW(HKEY_CURRENT_USER, kWideTestKey); }
    ~Win32RegistryTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, kWideTestKey); }

    Registry::Key Open(const std::string& subKey, std::uint32_t access)
    {
        Registry::Key key = Registry::kNoKey;
        EXPECT_EQ(registry_.CreateKey(subKey, access, &key), kErrorSuccess) << subKey;
        return key;
    }

    Registry& registry_ = CurrentUserRegistry();
};

TEST_F(Win32RegistryTest, WrittenValuesReadBackWithTheirTypesAndExactBytes)
{
    const Registry::Key key = Open(kTestKey, kKeyWrite);
    EXPECT_EQ(registry_.SetValue(key, "Lang", kRegSz, RegSzData("cz")), kErrorSuccess);
    EXPECT_EQ(registry_.SetValue(key, "ProxyEnable", kRegDword, RegDwordData(0x01020304)),
              kErrorSuccess);
    EXPECT_EQ(registry_.SetValue(key, "Blob", kRegBinary, Bytes({0, 1, 0xFF})), kErrorSuccess);
    registry_.CloseKey(key);

    const RawValue lang = ReadRawValue(kWideTestKey, L"Lang");
    ASSERT_EQ(lang.result, ERROR_SUCCESS);
    EXPECT_EQ(lang.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(lang.data, Bytes({'c', 0, 'z', 0, 0, 0}));

    const RawValue enable = ReadRawValue(kWideTestKey, L"ProxyEnable");
    ASSERT_EQ(enable.result, ERROR_SUCCESS);
    EXPECT_EQ(enable.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(enable.data, Bytes({4, 3, 2, 1}));

    const RawValue blob = ReadRawValue(kWideTestKey, L"Blob");
    EXPECT_EQ(blob.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(blob.data, Bytes({0, 1, 0xFF}));
}

TEST_F(Win32RegistryTest, ValuesWrittenByOthersAreQueriedWhole)
{
    const std::vector<std::uint8_t> large(70000, 0xAB);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kWideTestKey, L"Large", REG_BINARY, large.data(),
                              static_cast<DWORD>(large.size())),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kWideTestKey, L"Empty", REG_SZ, nullptr, 0),
              ERROR_SUCCESS);

    const Registry::Key key = Open(kTestKey, kKeyRead);
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
    EXPECT_EQ(registry_.QueryValue(key, "Large", &type, &data), kErrorSuccess);
    EXPECT_EQ(type, kRegBinary);
    EXPECT_EQ(data, large);
    EXPECT_EQ(registry_.QueryValue(key, "Empty", &type, &data), kErrorSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(registry_.QueryValue(key, "Missing", &type, &data), kErrorFileNotFound);
    registry_.CloseKey(key);
}

TEST_F(Win32RegistryTest, NonAsciiNamesAndTextsAreUtf16)
{
    const Registry::Key key = Open(std::string(kTestKey) + "\\\xC4\x8C\x65sky", kKeyWrite);
    // "Jazyk" with a caron, holding "čeština"
    EXPECT_EQ(
        registry_.SetValue(key, "Jaz\xC3\xBDk", kRegSz, RegSzData("\xC4\x8D\x65\xC5\xA1tina")),
        kErrorSuccess);
    registry_.CloseKey(key);

    const RawValue value =
        ReadRawValue(L"Software\\Kelbrin\\Hopvane tests\\\u010Cesky", L"Jaz\u00FDk");
    ASSERT_EQ(value.result, ERROR_SUCCESS);
    const std::wstring text = L"\u010De\u0161tina";
    std::vector<std::uint8_t> expected;
    for (const wchar_t unit : text + L'\0') {
        expected.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        expected.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    EXPECT_EQ(value.data, expected);
}

TEST_F(Win32RegistryTest, AccessIsWhatWasAskedFor)
{
    const Registry::Key writeOnly = Open(kTestKey, kKeyWrite);
    EXPECT_EQ(registry_.SetValue(writeOnly, "Lang", kRegSz, RegSzData("en")), kErrorSuccess);
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
    EXPECT_EQ(registry_.QueryValue(writeOnly, "Lang", &type, &data), kErrorAccessDenied);
    registry_.CloseKey(writeOnly);

    const Registry::Key readOnly = Open(kTestKey, kKeyRead);
    EXPECT_EQ(registry_.SetValue(readOnly, "Lang", kRegSz, RegSzData("cz")), kErrorAccessDenied);
    EXPECT_EQ(registry_.QueryValue(readOnly, "Lang", &type, &data), kErrorSuccess);
    EXPECT_EQ(data, RegSzData("en"));
    registry_.CloseKey(readOnly);
}

TEST_F(Win32RegistryTest, MissingLevelsAreCreatedAndATrailingBackslashNamesTheSameKey)
{
    const Registry::Key deep = Open(std::string(kTestKey) + "\\a\\b\\", kKeyRead | kKeyWrite);
    EXPECT_EQ(registry_.SetValue(deep, "Lang", kRegSz, RegSzData("en")), kErrorSuccess);
    registry_.CloseKey(deep);

    const Registry::Key same = Open(std::string(kTestKey) + "\\A\\B", kKeyRead);
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
    EXPECT_EQ(registry_.QueryValue(same, "lang", &type, &data), kErrorSuccess);
    EXPECT_EQ(data, RegSzData("en"));
    registry_.CloseKey(same);
}

TEST_F(Win32RegistryTest, ALeadingBackslashIsRefused)
{
    Registry::Key key = 123;
    EXPECT_NE(registry_.CreateKey(std::string("\\") + kTestKey, kKeyWrite, &key), kErrorSuccess);
    EXPECT_EQ(key, Registry::kNoKey);
    EXPECT_EQ(ReadRawValue(kWideTestKey, L"").result, ERROR_FILE_NOT_FOUND);
}

TEST_F(Win32RegistryTest, RegistryKeyReadsWhatTheSystemHolds)
{
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kWideTestKey, L"Expand", REG_EXPAND_SZ,
                              L"%TEMP%\\x", 18),
              ERROR_SUCCESS);
    const DWORD one = 1;
    ASSERT_EQ(
        RegSetKeyValueW(HKEY_CURRENT_USER, kWideTestKey, L"Number", REG_DWORD, &one, sizeof one),
        ERROR_SUCCESS);
    RegistryKey key(registry_, kTestKey, kKeyRead);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_EQ(key.ReadString("Expand"), "%TEMP%\\x");
    EXPECT_THROW(key.ReadString("Number"), ERegistryException);
    EXPECT_FALSE(key.ValueExists("Missing"));
}

} // namespace
} // namespace platform
