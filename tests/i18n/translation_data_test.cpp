#include "i18n/language_error.h"
#include "i18n/translation_data.h"
#include "i18n/window_translations.h"
#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace i18n {
namespace {

using namespace std::string_literals;

struct LineCase {
    const char* name;
    std::string line;
    std::string key;
    std::vector<std::string> texts;
};

class TableLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(TableLineTest, SplitsFieldsAtTheDelimiter)
{
    const TableLine parsed = ParseTableLine(GetParam().line, 2);
    EXPECT_EQ(parsed.key, GetParam().key);
    EXPECT_EQ(parsed.texts, GetParam().texts);
}

INSTANTIATE_TEST_SUITE_P(Lines, TableLineTest,
                         ::testing::Values(LineCase{"Full",
                                                    "IDS_40\x01Yes\x01"
                                                    "Ano\x01",
                                                    "IDS_40",
                                                    {"Yes", "Ano"}},
                                           LineCase{"EmptyCzech",
                                                    "IDS_49\x01Online IP \x01\x01",
                                                    "IDS_49",
                                                    {"Online IP ", ""}},
                                           LineCase{"UnclosedLastField",
                                                    "K\x01"
                                                    "en\x01"
                                                    "cz",
                                                    "K",
                                                    {"en", ""}},
                                           LineCase{"KeyOnly", "K\x01", "K", {"", ""}},
                                           LineCase{"NoDelimiter", "just text", "", {"", ""}},
                                           LineCase{"ExtraFieldsIgnored",
                                                    "K\x01"
                                                    "a\x01"
                                                    "b\x01"
                                                    "c\x01",
                                                    "K",
                                                    {"a", "b"}},
                                           LineCase{"LineBreakCodes",
                                                    "K\x01"
                                                    "a\x19\x1A"
                                                    "b\x01\x01",
                                                    "K",
                                                    {"a\r\nb", ""}}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(TranslationData, SplitsSectionsByHeaderIgnoringCase)
{
    const std::string data = "stCaptions_Unicode\r\n"
                             "Panel1\x01 \x01 \x01\r\n"
                             "STSTRINGS_UNICODE\r\n"
                             "IDS_45\x01No\x01Ne\x01\r\n"
                             "stCharSets_Unicode\r\n";
    const TranslationTables tables = ParseTranslationData(data, 2, "TFrmMain");
    const auto& captions = tables[static_cast<std::size_t>(StringsType::stCaptions)];
    const auto& strings = tables[static_cast<std::size_t>(StringsType::stStrings)];
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_EQ(captions[0].texts, (std::vector<std::string>{" ", " "}));
    ASSERT_EQ(strings.size(), 1u);
    EXPECT_EQ(strings[0].key, "IDS_45");
    EXPECT_TRUE(tables[static_cast<std::size_t>(StringsType::stCharSets)].empty());
}

TEST(TranslationData, PutsTheWindowsOwnLineFirstAndKeepsTheRest)
{
    const std::string data = "stCaptions_Unicode\r\n"
                             "a\x01"
                             "1\x01\x01\r\n"
                             "b\x01"
                             "2\x01\x01\r\n"
                             "TFrmMain\x01"
                             "title\x01\x01\r\n"
                             "c\x01"
                             "3\x01\x01\r\n";
    const auto tables = ParseTranslationData(data, 2, "TFrmMain");
    std::vector<std::string> keys;
    for (const auto& line : tables[static_cast<std::size_t>(StringsType::stCaptions)])
        keys.push_back(line.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"TFrmMain", "a", "b", "c"}));
}

TEST(TranslationData, IgnoresLinesBeforeTheFirstHeader)
{
    const auto tables = ParseTranslationData("stray\x01x\x01y\x01\r\n", 2, "TFrmMain");
    for (const auto& table : tables)
        EXPECT_TRUE(table.empty());
}

TEST(TranslationData, ReadsTheStoredUtf16Form)
{
    const std::string text = "stStrings_Unicode\r\nIDS_17\x01Lines count \x01"
                             "Po\xC4\x8D"
                             "et proxy server\xC5\xAF \x01\r\n";
    const std::string bytes = platform::EncodeText(text, platform::TextEncoding::Utf16LE);
    const auto tables = ParseTranslationDataBytes(bytes, 2, "TFrmMain");
    const auto& strings = tables[static_cast<std::size_t>(StringsType::stStrings)];
    ASSERT_EQ(strings.size(), 1u);
    EXPECT_EQ(strings[0].texts[1], "Po\xC4\x8D"
                                   "et proxy server\xC5\xAF ");
}

struct BadBytesCase {
    const char* name;
    std::string bytes;
    const char* message;
};

class NotUtf16Test : public ::testing::TestWithParam<BadBytesCase> {};

TEST_P(NotUtf16Test, FailsWithAClearError)
{
    try {
        ParseTranslationDataBytes(GetParam().bytes, 2, "TFrmMain");
        FAIL() << "no error";
    } catch (const ELanguageError& error) {
        EXPECT_STREQ(error.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, NotUtf16Test,
    ::testing::Values(
        BadBytesCase{"OddLength", "s\0t\0x"s,
                     "The translation data is not UTF-16 text: its length is odd."},
        BadBytesCase{"LoneHighSurrogate",
                     "a\0\x00\xD8"
                     "b\0"s,
                     "The translation data is not UTF-16 text: a lone surrogate at byte 2."},
        BadBytesCase{"LoneLowSurrogate", "\x00\xDC"s,
                     "The translation data is not UTF-16 text: a lone surrogate at byte 0."}),
    [](const auto& test) { return std::string(test.param.name); });

std::vector<std::string> Keys(const std::vector<TableLine>& table)
{
    std::vector<std::string> keys;
    for (const auto& line : table)
        keys.push_back(line.key);
    return keys;
}

TEST(WindowTranslations, BothStringTablesShareTheIdsLines)
{
    const auto main =
        ParseTranslationDataBytes(FrmMainTranslations().TranslationData, 2, "TFrmMain");
    const auto config = ParseTranslationDataBytes(
        FrmConfigTranslations("https://test/").TranslationData, 2, "TFrmConfig");
    const auto& mainStrings = main[static_cast<std::size_t>(StringsType::stStrings)];
    const auto& configStrings = config[static_cast<std::size_t>(StringsType::stStrings)];
    EXPECT_EQ(Keys(mainStrings),
              (std::vector<std::string>{
                  "IDS_17", "IDS_18", "IDS_20", "IDS_40", "IDS_45", "IDS_48", "IDS_49", "IDS_54",
                  "IDS_55", "strsDownloadNovaVerze", "strsDotaz", "strsReportDetails",
                  "strsReportSend", "strsReportContinue", "strsReportRestart", "strsReportClose",
                  "strsProxyShowsYourAddress", "strsProxyShowsNoAddress"}));
    ASSERT_EQ(configStrings.size(), 9u);
    for (std::size_t i = 0; i < configStrings.size(); ++i)
        EXPECT_EQ(configStrings[i].texts, mainStrings[i].texts) << configStrings[i].key;
    const auto& other = config[static_cast<std::size_t>(StringsType::stOtherStrings)];
    ASSERT_FALSE(other.empty());
    EXPECT_EQ(other[0].key, "urlset.Text");
    EXPECT_EQ(other[0].texts, (std::vector<std::string>{"https://test/", ""}));
    EXPECT_TRUE(main[static_cast<std::size_t>(StringsType::stListView_TreeView_Items)].empty());
}

} // namespace
} // namespace i18n
