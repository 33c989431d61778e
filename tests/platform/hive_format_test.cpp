#include "platform/posix/hive_format.h"
#include "platform/registry.h"

#include <gtest/gtest.h>

#include <cctype>
#include <iterator>
#include <random>

namespace platform::posix {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kSignature = "Windows Registry Editor Version 5.00\n\n";

std::string WithKey(const std::string& lines)
{
    return std::string(kSignature) + "[HKEY_CURRENT_USER\\Test]\n" + lines + "\n";
}

struct RoundTripCase {
    const char* what;
    std::string name;
    std::uint32_t type;
    Bytes data;
    std::string line;
};

class HiveValueRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(HiveValueRoundTrip, PrintsAsExpectedAndReadsBackByteForByte)
{
    const RoundTripCase& c = GetParam();
    Hive hive;
    hive.CreateKey("Test").SetValue(c.name, c.type, c.data);

    const std::string text = PrintHive(hive);
    EXPECT_EQ(text, WithKey(c.line + "\n"));

    const Hive parsed = ParseHive(text);
    ASSERT_EQ(parsed.keys.size(), 1u);
    ASSERT_EQ(parsed.keys[0].values.size(), 1u);
    const HiveValue& value = parsed.keys[0].values[0];
    EXPECT_EQ(value.name, c.name);
    EXPECT_EQ(value.type, c.type);
    EXPECT_EQ(value.data, c.data);
}

INSTANTIATE_TEST_SUITE_P(
    HiveValues, HiveValueRoundTrip,
    testing::Values(
        RoundTripCase{"plain", "Lang", kRegSz, RegSzData("en"), R"("Lang"="en")"},
        RoundTripCase{"quotes and backslashes", R"(a"b\c)", kRegSz,
                      RegSzData(R"(say "hi" to C:\dir\)"),
                      R"("a\"b\\c"="say \"hi\" to C:\\dir\\")"},
        RoundTripCase{"non-ASCII", "Jazyk \xC4\x8D", kRegSz,
                      Bytes{0x0C, 0x01, 0x3D, 0xD8, 0x00, 0xDE, 0, 0}, // U+010C U+1F600
                      "\"Jazyk \xC4\x8D\"=\"\xC4\x8C\xF0\x9F\x98\x80\""},
        RoundTripCase{"empty text", "Empty", kRegSz, Bytes{0, 0}, R"("Empty"="")"},
        RoundTripCase{"default value", "", kRegSz, RegSzData("x"), R"(@="x")"},
        RoundTripCase{"value named @", "@", kRegSz, RegSzData("x"), R"("@"="x")"},
        RoundTripCase{"odd length", "Odd", kRegSz, Bytes{0x41, 0, 0}, R"("Odd"=hex(1):41,00,00)"},
        RoundTripCase{"no NUL", "NoNul", kRegSz, Bytes{0x41, 0}, R"("NoNul"=hex(1):41,00)"},
        RoundTripCase{"no bytes", "None", kRegSz, Bytes{}, R"("None"=hex(1):)"},
        RoundTripCase{"two NULs", "TwoNuls", kRegSz, Bytes{0x41, 0, 0, 0, 0, 0},
                      R"("TwoNuls"=hex(1):41,00,00,00,00,00)"},
        RoundTripCase{"inner NUL", "Inner", kRegSz, Bytes{0x41, 0, 0, 0, 0x42, 0, 0, 0},
                      R"("Inner"=hex(1):41,00,00,00,42,00,00,00)"},
        RoundTripCase{"lone surrogate", "Lone", kRegSz, Bytes{0x00, 0xD8, 0, 0},
                      R"("Lone"=hex(1):00,d8,00,00)"},
        RoundTripCase{"line break", "Lines", kRegSz, RegSzData("a\r\nb"),
                      R"("Lines"=hex(1):61,00,0d,00,0a,00,62,00,00,00)"},
        RoundTripCase{"expandable text", "Path", kRegExpandSz, RegSzData("%T%"),
                      R"("Path"=hex(2):25,00,54,00,25,00,00,00)"},
        RoundTripCase{"dword", "ProxyEnable", kRegDword, RegDwordData(1),
                      R"("ProxyEnable"=dword:00000001)"},
        RoundTripCase{"large dword", "Big", kRegDword, RegDwordData(0xDEADBEEF),
                      R"("Big"=dword:deadbeef)"},
        RoundTripCase{"short dword", "Short", kRegDword, Bytes{1, 2, 3},
                      R"("Short"=hex(4):01,02,03)"},
        RoundTripCase{"long dword", "Long", kRegDword, Bytes{1, 2, 3, 4, 5},
                      R"("Long"=hex(4):01,02,03,04,05)"},
        RoundTripCase{"binary", "Bin", kRegBinary, Bytes{0x00, 0x7F, 0xFF},
                      R"("Bin"=hex:00,7f,ff)"},
        RoundTripCase{"empty binary", "EmptyBin", kRegBinary, Bytes{}, R"("EmptyBin"=hex:)"},
        RoundTripCase{"none", "Nothing", kRegNone, Bytes{}, R"("Nothing"=hex(0):)"},
        RoundTripCase{"qword", "Q", 0xB, Bytes{1, 0, 0, 0, 0, 0, 0, 0},
                      R"("Q"=hex(b):01,00,00,00,00,00,00,00)"},
        RoundTripCase{"large type", "T", 0xFFFFFFFF, Bytes{9}, R"("T"=hex(ffffffff):09)"}),
    [](const testing::TestParamInfo<RoundTripCase>& param) {
        std::string name;
        for (const char c : std::string(param.param.what))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(HiveFormat, PrintsKeysInCreationOrderWithParentsAndEmptyKeys)
{
    Hive hive;
    hive.CreateKey("Software\\Kelbrin\\Hopvane").SetValue("Lang", kRegSz, RegSzData("cz"));
    hive.CreateKey("");
    hive.CreateKey("Software\\Microsoft");

    EXPECT_EQ(PrintHive(hive), std::string(kSignature) +
                                   "[HKEY_CURRENT_USER\\Software]\n\n"
                                   "[HKEY_CURRENT_USER\\Software\\Kelbrin]\n\n"
                                   "[HKEY_CURRENT_USER\\Software\\Kelbrin\\Hopvane]\n"
                                   "\"Lang\"=\"cz\"\n\n"
                                   "[HKEY_CURRENT_USER]\n\n"
                                   "[HKEY_CURRENT_USER\\Software\\Microsoft]\n\n");
    EXPECT_EQ(PrintHive(ParseHive(PrintHive(hive))), PrintHive(hive));
}

TEST(HiveFormat, NamesMatchWithoutRegardToCaseAndKeepTheirFirstCase)
{
    Hive hive;
    hive.CreateKey("Software\\\xC3\x9C"
                   "bung")
        .SetValue("Lang", kRegSz, RegSzData("en"));
    HiveKey& again = hive.CreateKey("SOFTWARE\\\xC3\xBC"
                                    "BUNG\\Child");
    EXPECT_EQ(again.path, "Software\\\xC3\x9C"
                          "bung\\Child");
    ASSERT_EQ(hive.keys.size(), 3u);

    HiveKey& key = hive.keys[1];
    key.SetValue("LANG", kRegDword, RegDwordData(7));
    ASSERT_EQ(key.values.size(), 1u);
    EXPECT_EQ(key.values[0].name, "Lang");
    EXPECT_EQ(key.values[0].data, RegDwordData(7));
    ASSERT_NE(key.FindValue("lang"), nullptr);
    EXPECT_EQ(key.FindValue("Langs"), nullptr);
    EXPECT_NE(hive.FindKey("software\\\xC3\xBC"
                           "bung"),
              nullptr);
    EXPECT_EQ(hive.FindKey("Software"), &hive.keys[0]);
    EXPECT_EQ(hive.FindKey("Soft"), nullptr);
}

TEST(HiveFormat, CanonicalKeyPathAcceptsOneTrailingBackslashOnly)
{
    EXPECT_EQ(CanonicalKeyPath("Software\\Kelbrin\\Hopvane\\"), "Software\\Kelbrin\\Hopvane");
    EXPECT_EQ(CanonicalKeyPath("Software"), "Software");
    EXPECT_EQ(CanonicalKeyPath(""), "");
    for (const std::string& bad :
         std::vector<std::string>{"\\Software", "\\", "Software\\\\Kelbrin", "Software\\\\", "a\nb",
                                  "a\rb", std::string("a\0b", 3)}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(CanonicalKeyPath(bad), std::nullopt);
    }
}

TEST(HiveFormat, ValueNamesMustFitOnOneLine)
{
    EXPECT_TRUE(IsValidValueName("a \"quoted\" \\ name"));
    EXPECT_TRUE(IsValidValueName(""));
    EXPECT_FALSE(IsValidValueName("a\nb"));
    EXPECT_FALSE(IsValidValueName("a\rb"));
    EXPECT_FALSE(IsValidValueName(std::string("a\0b", 3)));
}

TEST(HiveFormat, ReadsCrLfByteOrderMarkAndLooseSpacing)
{
    const Hive hive = ParseHive("\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
                                "  [hkey_current_user\\Software\\A]  \r\n"
                                "\"Text\" = \"v\"\r\n"
                                "\"Short\"=DWORD:2A\r\n"
                                "\"Bin\"=HEX:0,Ff , 1\r\n"
                                "\"Typed\"=hex(B):01\r\n"
                                "[HKEY_CURRENT_USER\\Software\\B\\]\r\n"
                                "@=\"d\"");
    ASSERT_EQ(hive.keys.size(), 3u);
    EXPECT_EQ(hive.keys[1].path, "Software\\A");
    EXPECT_EQ(hive.keys[2].path, "Software\\B");
    const auto& values = hive.keys[1].values;
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values[0].data, RegSzData("v"));
    EXPECT_EQ(values[1].type, kRegDword);
    EXPECT_EQ(values[1].data, RegDwordData(42));
    EXPECT_EQ(values[2].type, kRegBinary);
    EXPECT_EQ(values[2].data, (Bytes{0x00, 0xFF, 0x01}));
    EXPECT_EQ(values[3].type, 0xBu);
    ASSERT_EQ(hive.keys[2].values.size(), 1u);
    EXPECT_EQ(hive.keys[2].values[0].name, "");
}

TEST(HiveFormat, SkipsMalformedLinesAndValuesUnderMalformedHeaders)
{
    const Hive hive = ParseHive("Windows Registry Editor Version 5.00\n"
                                "\"orphan\"=\"before any key\"\n"
                                "garbage\n"
                                "[HKEY_CURRENT_USER\\Good]\n"
                                "\"ok\"=\"1\"\n"
                                "\"unterminated\n"
                                "\"unterminated value\"=\"x\n"
                                "\"bad escape\"=\"a\\q\"\n"
                                "\"trailing\"=\"x\" junk\n"
                                "\"no equals\" \"x\"\n"
                                "\"deleted\"=-\n"
                                "\"long dword\"=dword:123456789\n"
                                "\"bad dword\"=dword:xyz\n"
                                "\"empty dword\"=dword:\n"
                                "\"bad byte\"=hex:01,zz\n"
                                "\"wide byte\"=hex:100\n"
                                "\"trailing comma\"=hex:01,\n"
                                "\"bad type\"=hex(zz):00\n"
                                "\"no type\"=hex():00\n"
                                "\"unclosed type\"=hex(1:00\n"
                                "\"unknown\"=word:1\n"
                                "=\"nameless\"\n"
                                "; a comment\n"
                                "[HKEY_LOCAL_MACHINE\\Other]\n"
                                "\"lost1\"=\"x\"\n"
                                "[HKEY_CURRENT_USER\\Bad\\\\Path]\n"
                                "\"lost2\"=\"x\"\n"
                                "[HKEY_CURRENT_USERS\\Near]\n"
                                "\"lost3\"=\"x\"\n"
                                "[HKEY_CURRENT_USER\\Unclosed\n"
                                "\"lost4\"=\"x\"\n"
                                "[\\Software]\n"
                                "\"lost5\"=\"x\"\n"
                                "[HKEY_CURRENT_USER\\good]\n"
                                "\"later\"=dword:0000002a\n"
                                "\"OK\"=\"2\"\n");
    ASSERT_EQ(hive.keys.size(), 1u);
    EXPECT_EQ(hive.keys[0].path, "Good");
    const auto& values = hive.keys[0].values;
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].name, "ok");
    EXPECT_EQ(values[0].data, RegSzData("2"));
    EXPECT_EQ(values[1].name, "later");
    EXPECT_EQ(values[1].data, RegDwordData(42));
}

// Whatever a damaged file holds, reading it must not fail, and what it keeps
// must print as a file that reads back the same.
TEST(HiveFormat, ArbitraryBytesParseToAHiveThatRoundTrips)
{
    const std::string pieces[] = {"[HKEY_CURRENT_USER\\",
                                  "]",
                                  "\\",
                                  "\"",
                                  "=",
                                  "@",
                                  "hex(",
                                  "):",
                                  "hex:",
                                  "dword:",
                                  ",",
                                  "0",
                                  "f",
                                  "\n",
                                  "\r",
                                  " ",
                                  "a",
                                  "\xC3",
                                  "\x9C",
                                  std::string(1, '\0'),
                                  "\xFF"};
    std::mt19937 random(12345);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const auto length = random() % 60;
        for (unsigned i = 0; i < length; ++i)
            text += pieces[random() % std::size(pieces)];
        SCOPED_TRACE(testing::PrintToString(text));
        const std::string printed = PrintHive(ParseHive(text));
        ASSERT_EQ(PrintHive(ParseHive(printed)), printed);
    }
}

} // namespace
} // namespace platform::posix
