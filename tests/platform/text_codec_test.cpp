#include "platform/code_pages.h"
#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

using namespace std::string_literals;

struct RoundTrip {
    const char* name;
    std::string utf8;
    TextEncoding encoding;
    std::string bytes;
};

class EncodingTest : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(EncodingTest, EncodesAndDecodesExactBytes)
{
    const RoundTrip& c = GetParam();
    EXPECT_EQ(EncodeText(c.utf8, c.encoding), c.bytes);
    EXPECT_EQ(DecodeText(c.bytes, c.encoding), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EncodingTest,
    ::testing::Values(RoundTrip{"AsciiLE", "a:1", TextEncoding::Utf16LE,
                                "a\0:\0"
                                "1\0"s},
                      RoundTrip{"AsciiBE", "a:1", TextEncoding::Utf16BE,
                                "\0a\0:\0"
                                "1"s},
                      RoundTrip{"CzechLE", "\xC5\xA1", TextEncoding::Utf16LE, "\x61\x01"s},
                      RoundTrip{"SurrogatePairLE", "\xF0\x9F\x98\x80", TextEncoding::Utf16LE,
                                "\x3D\xD8\x00\xDE"s},
                      RoundTrip{"SurrogatePairBE", "\xF0\x9F\x98\x80", TextEncoding::Utf16BE,
                                "\xD8\x3D\xDE\x00"s},
                      RoundTrip{"Utf8Unchanged", "P\xC5\x99\xC3\xAD", TextEncoding::Utf8,
                                "P\xC5\x99\xC3\xAD"},
                      RoundTrip{"AnsiLatin1", "caf\xC3\xA9", TextEncoding::Ansi, "caf\xE9"},
                      RoundTrip{"AnsiEuroSign", "\xE2\x82\xAC", TextEncoding::Ansi, "\x80"},
                      RoundTrip{"AnsiScaron", "\xC5\xA0", TextEncoding::Ansi, "\x8A"},
                      RoundTrip{"EmbeddedNulKept", "a\0b"s, TextEncoding::Utf16LE, "a\0\0\0b\0"s}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(AnsiCodePage, CharactersOutsideItBecomeOneQuestionMarkEach)
{
    // c with caron, a CJK character and an emoji: none is in windows-1252.
    EXPECT_EQ(Utf8ToAnsi("\xC4\x8D|\xE4\xB8\xAD|\xF0\x9F\x98\x80"), "?|?|?");
}

TEST(AnsiCodePage, HolesOfTheCodePageDecodeToTheirC1Controls)
{
    EXPECT_EQ(AnsiToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    EXPECT_EQ(Utf8ToAnsi("\xC2\x81"), "\x81");
}

TEST(Utf8Decoding, MalformedInputBecomesReplacementCharacters)
{
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(DecodeText("a\xFF"
                         "b",
                         TextEncoding::Utf8),
              "a" + replacement + "b");
    EXPECT_EQ(DecodeText("\xC0\xAF", TextEncoding::Utf8), replacement + replacement);
    EXPECT_EQ(DecodeText("\xED\xA0\x80", TextEncoding::Utf8),
              replacement + replacement + replacement);
    EXPECT_EQ(DecodeText("\xE2\x82", TextEncoding::Utf8), replacement + replacement);
}

// The system's converter lets such forms through on Linux: UTF-8 is decoded
// by the program's own code on every system.
TEST(Utf8CodePage, FormsBeyondTheLastCharacterBecomeReplacementCharacters)
{
    const std::string two = "\xEF\xBF\xBD\xEF\xBF\xBD";
    EXPECT_EQ(DecodeCodePage("a\xF4\x90\x80\x80", 65001), "a" + two + two);
    EXPECT_EQ(DecodeCodePage("\xF8\x88\x80\x80\x80", 65001), two + two + "\xEF\xBF\xBD");
    EXPECT_EQ(DecodeCodePage("\xF0\x9F\x98\x80", 65001), "\xF0\x9F\x98\x80");
}

TEST(Utf16Decoding, LoneSurrogatesAndOddBytesBecomeReplacementCharacters)
{
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(DecodeText("\x3D\xD8"
                         "a\0"s,
                         TextEncoding::Utf16LE),
              replacement + "a");
    EXPECT_EQ(DecodeText("a\0b"s, TextEncoding::Utf16LE), "a" + replacement);
}

TEST(Utf16Units, CountsSurrogatePairsAsTwo)
{
    EXPECT_EQ(Utf16Length(""), 0u);
    EXPECT_EQ(Utf16Length("abc"), 3u);
    EXPECT_EQ(Utf16Length("\xC5\xA1"), 1u);
    EXPECT_EQ(Utf16Length("a\xF0\x9F\x98\x80"), 3u);
}

TEST(Utf16Units, PrefixNeverSplitsAPair)
{
    const std::string text = "ab\xF0\x9F\x98\x80"
                             "c";
    EXPECT_EQ(Utf16Prefix(text, 0), "");
    EXPECT_EQ(Utf16Prefix(text, 2), "ab");
    EXPECT_EQ(Utf16Prefix(text, 3), "ab");
    EXPECT_EQ(Utf16Prefix(text, 4), "ab\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16Prefix(text, 99), text);
}

TEST(ByteOrderMarks, AreTheStandardOnes)
{
    EXPECT_EQ(ByteOrderMark(TextEncoding::Utf8), "\xEF\xBB\xBF");
    EXPECT_EQ(ByteOrderMark(TextEncoding::Utf16LE), "\xFF\xFE");
    EXPECT_EQ(ByteOrderMark(TextEncoding::Utf16BE), "\xFE\xFF");
    EXPECT_EQ(ByteOrderMark(TextEncoding::Ansi), "");
}

} // namespace
} // namespace platform
