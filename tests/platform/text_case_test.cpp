#include "platform/text_case.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

struct CasePair {
    const char* a;
    const char* b;
    bool equal;
};

class IgnoreCaseTest : public ::testing::TestWithParam<CasePair> {};

TEST_P(IgnoreCaseTest, ComparesLetterCaseInsensitively)
{
    const CasePair& c = GetParam();
    EXPECT_EQ(EqualsIgnoreCase(c.a, c.b), c.equal) << c.a << " vs " << c.b;
    EXPECT_EQ(CompareIgnoreCase(c.a, c.b) == 0, c.equal);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, IgnoreCaseTest,
    ::testing::Values(CasePair{"Proxy.Example:80", "proxy.example:80", true},
                      CasePair{"ids_17", "IDS_17", true}, CasePair{"a", "ab", false},
                      CasePair{"", "", true}, CasePair{"1.2.3.4:80", "1.2.3.4:8080", false},
                      CasePair{"\xC5\xA0KODA", "\xC5\xA1koda", true},           // Škoda
                      CasePair{"\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9", true}, // été
                      CasePair{"\xC5\xBD", "\xC5\xBE", true},                   // Ž ž
                      CasePair{"\xC4\xB9", "\xC4\xBA", true},                   // Ĺ ĺ
                      CasePair{"\xD0\x96", "\xD0\xB6", true},                   // Ж ж
                      CasePair{"\xC3\x97", "\xC3\xB7", false}));                // × ÷

TEST(CompareIgnoreCase, OrdersForHalvingSearch)
{
    EXPECT_LT(CompareIgnoreCase("IDS_17", "ids_18"), 0);
    EXPECT_GT(CompareIgnoreCase("strsDotaz", "IDS_55"), 0);
    EXPECT_LT(CompareIgnoreCase("IDS_1", "ids_17"), 0);
    // Folding to lower case puts '_' before the letters, as the system's
    // comparison does; folding to upper case would put it after them.
    EXPECT_GT(CompareIgnoreCase("IDSA", "IDS_"), 0);
}

TEST(FoldCase, LowersOnlyLetters)
{
    EXPECT_EQ(FoldCase("A-Z_09 \xC4\x8C"), "a-z_09 \xC4\x8D");
}

} // namespace
} // namespace platform
