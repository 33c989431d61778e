#include "platform/registry_key.h"
#include "settings/language_setting.h"
#include "tests/support/fake_registry.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace settings {
namespace {

using test_support::FakeRegistry;

constexpr const char* kKey = "Software\\Kelbrin\\Hopvane\\";

TEST(LanguageSetting, MissingValueWritesEnAsAString)
{
    FakeRegistry registry;
    EXPECT_EQ(ReadLanguageSetting(registry), "en");
    EXPECT_EQ(registry.calls,
              (std::vector<std::string>{"create Software\\Kelbrin\\Hopvane\\ 0x2001f", "query Lang",
                                        "set Lang 1 6", "close"}));
    EXPECT_EQ(registry.keys[kKey]["Lang"].data, platform::RegSzData("en"));
}

TEST(LanguageSetting, StoredValueIsReturnedAsItIsAndNothingIsWritten)
{
    for (const char* stored : {"cz", "en", "CZ", "de", ""}) {
        FakeRegistry registry;
        registry.keys[kKey]["Lang"] = {platform::kRegSz, platform::RegSzData(stored)};
        EXPECT_EQ(ReadLanguageSetting(registry), stored);
        for (const auto& call : registry.calls)
            EXPECT_NE(call.rfind("set", 0), 0u) << stored << ": " << call;
    }
}

TEST(LanguageSetting, ValueOfAnotherTypeIsAnInvalidDataType)
{
    FakeRegistry registry;
    registry.keys[kKey]["Lang"] = {platform::kRegDword, platform::RegDwordData(1)};
    try {
        ReadLanguageSetting(registry);
        FAIL() << "no error";
    } catch (const platform::ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for 'Lang'");
    }
    EXPECT_EQ(registry.OpenKeys(), 0u);
}

TEST(LanguageSetting, KeyThatCannotBeOpenedFailsTheWriteOfTheDefault)
{
    FakeRegistry registry;
    registry.failCreateKey = true;
    try {
        ReadLanguageSetting(registry);
        FAIL() << "no error";
    } catch (const platform::ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Lang'");
    }
}

TEST(LanguageSetting, DefaultIsThereOnTheNextStart)
{
    test_support::IsolatedUserEnvironment environment;
    EXPECT_EQ(ReadLanguageSetting(platform::CurrentUserRegistry()), "en");
    platform::RegistryKey key(platform::CurrentUserRegistry(), kKey, platform::kKeyRead);
    EXPECT_EQ(key.ReadString("Lang"), "en");
}

struct NameCase {
    const char* setting;
    std::optional<std::string> name;
};

class LanguageNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(LanguageNameTest, MapsExactlyAndCaseSensitively)
{
    EXPECT_EQ(LanguageNameForSetting(GetParam().setting), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Settings, LanguageNameTest,
                         ::testing::Values(NameCase{"cz", "Czech"}, NameCase{"en", "English"},
                                           NameCase{"CZ", std::nullopt},
                                           NameCase{"En", std::nullopt},
                                           NameCase{"cs", std::nullopt}, NameCase{"", std::nullopt},
                                           NameCase{"en ", std::nullopt},
                                           NameCase{"Czech", std::nullopt}));

} // namespace
} // namespace settings
