#include "platform/registry_key.h"
#include "tests/support/fake_registry.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

using test_support::FakeRegistry;

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> out;
    for (const int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

TEST(RegistryData, StringsAreUtf16WithTheirNul)
{
    EXPECT_EQ(RegSzData("en"), Bytes({'e', 0, 'n', 0, 0, 0}));
    EXPECT_EQ(RegSzData(""), Bytes({0, 0}));
    EXPECT_EQ(RegSzData("1.2.3.4:8080").size(), (12u + 1) * 2);
    EXPECT_EQ(RegSzData("\xC5\xA1"), Bytes({0x61, 0x01, 0, 0}));
}

TEST(RegistryData, DwordsAreFourLittleEndianBytes)
{
    EXPECT_EQ(RegDwordData(1), Bytes({1, 0, 0, 0}));
    EXPECT_EQ(RegDwordData(0x01020304), Bytes({4, 3, 2, 1}));
}

struct StoredString {
    const char* name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    std::string expected;
};

class ReadStringTest : public ::testing::TestWithParam<StoredString> {};

TEST_P(ReadStringTest, ReadsStringData)
{
    FakeRegistry registry;
    registry.keys["K"]["V"] = {GetParam().type, GetParam().data};
    RegistryKey key(registry, "K", kKeyRead);
    EXPECT_EQ(key.ReadString("V"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ReadStringTest,
    ::testing::Values(StoredString{"Plain", kRegSz, Bytes({'c', 0, 'z', 0, 0, 0}), "cz"},
                      StoredString{"ExpandSz", kRegExpandSz, Bytes({'e', 0, 'n', 0, 0, 0}), "en"},
                      StoredString{"SizeZero", kRegSz, {}, ""},
                      StoredString{"NoTerminator", kRegSz, Bytes({'e', 0, 'n', 0}), "en"},
                      StoredString{"CutAtFirstNul", kRegSz, Bytes({'c', 0, 0, 0, 'z', 0, 0, 0}),
                                   "c"},
                      StoredString{"OddByteIgnored", kRegSz, Bytes({'e', 0, 'n'}), "e"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(RegistryKey, NonStringValueIsAnInvalidDataType)
{
    FakeRegistry registry;
    registry.keys["K"]["Lang"] = {kRegDword, RegDwordData(1)};
    RegistryKey key(registry, "K", kKeyRead);
    try {
        key.ReadString("Lang");
        FAIL() << "no error";
    } catch (const ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for 'Lang'");
    }
}

TEST(RegistryKey, FailedWriteNamesTheValue)
{
    FakeRegistry registry;
    registry.failSetValue = {"ProxyServer"};
    RegistryKey key(registry, "K", kKeyWrite);
    try {
        key.WriteString("ProxyServer", "1.2.3.4:80");
        FAIL() << "no error";
    } catch (const ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'ProxyServer'");
    }
}

TEST(RegistryKey, UnopenedKeyHasNoValuesAndFailsWrites)
{
    FakeRegistry registry;
    registry.failCreateKey = true;
    RegistryKey key(registry, "K", kKeyRead | kKeyWrite);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.ValueExists("Lang"));
    EXPECT_THROW(key.WriteString("Lang", "en"), ERegistryException);
    EXPECT_EQ(registry.calls, std::vector<std::string>{"create K 0x2001f"});
}

TEST(RegistryKey, ClosesItsKeyOnceWhenItGoes)
{
    FakeRegistry registry;
    {
        RegistryKey key(registry, "K", kKeyWrite);
        key.WriteInteger("ProxyEnable", 0);
        EXPECT_EQ(registry.OpenKeys(), 1u);
    }
    EXPECT_EQ(registry.OpenKeys(), 0u);
    EXPECT_EQ(registry.calls.back(), "close");
    EXPECT_EQ(registry.keys["K"]["ProxyEnable"].data, RegDwordData(0));
}

} // namespace
} // namespace platform
