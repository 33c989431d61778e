#include "net/body_decoding.h"
#include "net/charset_names.h"
#include "net/media_type.h"

#include <gtest/gtest.h>

namespace net {
namespace {

using namespace std::string_literals;

std::string Repeated(std::string_view piece, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}

struct DecodeCase {
    const char* name;
    const char* charSet;
    std::string bytes;
    std::string text;
};

class CharSetDecoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(CharSetDecoding, DecodesByNameOrAlias)
{
    EXPECT_EQ(DecodeWithCharSet(GetParam().bytes, GetParam().charSet), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Names, CharSetDecoding,
    ::testing::Values(DecodeCase{"Latin1", "ISO-8859-1", "caf\xE9 \x80", "caf\xC3\xA9 \xC2\x80"},
                      DecodeCase{"Latin1Alias", "latin1", "\xE9", "\xC3\xA9"},
                      DecodeCase{"Utf8AnyCase", "utf-8", "P\xC5\x99\xC3\xAD", "P\xC5\x99\xC3\xAD"},
                      DecodeCase{"Utf8Malformed", "UTF-8",
                                 "a\xFF"
                                 "b",
                                 "a\xEF\xBF\xBD"
                                 "b"},
                      DecodeCase{"Latin2", "ISO-8859-2", "\xB9\xE8", "\xC5\xA1\xC4\x8D"},
                      DecodeCase{"Latin2Alias", "csISOLatin2", "\xB9", "\xC5\xA1"},
                      DecodeCase{"Windows1250", "Windows-1250", "\x9A\xE8", "\xC5\xA1\xC4\x8D"},
                      DecodeCase{"Windows1252Euro", "windows-1252", "\x80", "\xE2\x82\xAC"},
                      DecodeCase{"Koi8R", "koi8-r", "\xC1", "\xD0\xB0"},
                      DecodeCase{"Utf16LittleEndian", "UTF-16LE", "a\0\x0D\x01"s, "a\xC4\x8D"},
                      DecodeCase{"Utf16BigEndian", "utf-16be", "\0a\x01\x0D"s, "a\xC4\x8D"},
                      // A lone low surrogate costs its own unit, not one byte.
                      DecodeCase{"Utf16BadUnitThenInStep", "UTF-16LE",
                                 "a\0\x00\xDC"
                                 "b\0c\0"s,
                                 "a\xEF\xBF\xBD"
                                 "bc"},
                      DecodeCase{"ShiftJis", "Shift_JIS", "\x82\xA0", "\xE3\x81\x82"},
                      DecodeCase{"TrimmedName", " UTF-8 ", "\xC3\xA1", "\xC3\xA1"},
                      DecodeCase{"UnknownIsEachByte", "x-unknown", "\xE9\x9A", "\xC3\xA9\xC2\x9A"},
                      DecodeCase{"EmptyIsEachByte", "", "\xE9\x00z"s, "\xC3\xA9\0z"s},
                      // Longer than Windows decodes at a time: cut between characters.
                      DecodeCase{"LongWindows1252", "windows-1252", std::string(100000, '\xE9'),
                                 Repeated("\xC3\xA9", 100000)},
                      DecodeCase{"LongShiftJis", "Shift_JIS", "a" + Repeated("\x82\xA0", 40000),
                                 "a" + Repeated("\xE3\x81\x82", 40000)}),
    [](const auto& test) { return std::string(test.param.name); });

struct LimitCase {
    const char* name;
    const char* charSet;
    std::string bytes;
    std::size_t maxBytes;
    std::string text;
};

class DecodedTextLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(DecodedTextLimit, StopsBeforeTheFirstCharacterPastIt)
{
    const LimitCase& c = GetParam();
    EXPECT_EQ(DecodeWithCharSet(c.bytes, c.charSet, c.maxBytes), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    CharSets, DecodedTextLimit,
    ::testing::Values(LimitCase{"ExactFit", "UTF-8", "ab", 2, "ab"},
                      LimitCase{"Utf8", "UTF-8", "a\xC3\xA9", 2, "a"},
                      LimitCase{"InvalidUtf8", "UTF-8", "\xFF\xFF\xFF", 8,
                                "\xEF\xBF\xBD\xEF\xBF\xBD"},
                      LimitCase{"Windows1252", "windows-1252", "a\x80", 3, "a"},
                      LimitCase{"ShiftJis", "Shift_JIS", "a\x82\xA0", 3, "a"},
                      LimitCase{"Utf16Pair", "UTF-16LE", "a\0\x3D\xD8\x00\xDE"s, 4, "a"},
                      LimitCase{"Utf32", "UTF-32LE", "a\0\0\0\xE9\0\0\0"s, 2, "a"},
                      LimitCase{"UnknownIsEachByte", "x-unknown", "a\xE9", 2, "a"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(CharSetNames, RegisteredNamesMapToTheirCodePages)
{
    EXPECT_EQ(CodePageOfCharSet("us-ascii"), 20127u);
    EXPECT_EQ(CodePageOfCharSet("ISO_8859-1:1987"), 28591u);
    EXPECT_EQ(CodePageOfCharSet("WINDOWS-1250"), 1250u);
    EXPECT_EQ(CodePageOfCharSet("gb2312"), 936u);
    EXPECT_EQ(CodePageOfCharSet("utf8"), std::nullopt);
}

struct ContentTypeCase {
    const char* contentType;
    const char* charSet;
};

class DefaultCharSet : public ::testing::TestWithParam<ContentTypeCase> {};

TEST_P(DefaultCharSet, FollowsTheTypeFamily)
{
    EXPECT_EQ(CharSetOfContentType(GetParam().contentType), GetParam().charSet)
        << GetParam().contentType;
}

INSTANTIATE_TEST_SUITE_P(
    Types, DefaultCharSet,
    ::testing::Values(
        ContentTypeCase{"text/plain", "ISO-8859-1"}, ContentTypeCase{"TEXT/HTML", "ISO-8859-1"},
        ContentTypeCase{"text/html; charset=UTF-8", "UTF-8"},
        ContentTypeCase{"text/plain; Charset=\"koi8-r\"", "koi8-r"},
        ContentTypeCase{"text/xml", "us-ascii"},
        ContentTypeCase{"text/xml-external-parsed-entity", "us-ascii"},
        ContentTypeCase{"text/svg+xml", "us-ascii"}, ContentTypeCase{"application/json", ""},
        ContentTypeCase{"application/json; charset=utf-8", "utf-8"}, ContentTypeCase{"", ""}));

TEST(XmlBody, CharSetComesFromMarkDeclarationOrDefault)
{
    EXPECT_EQ(XmlCharSet("\xEF\xBB\xBF<a/>"), "UTF-8");
    EXPECT_EQ(XmlCharSet("\xFF\xFE<\0"s), "UTF-16LE");
    EXPECT_EQ(XmlCharSet("\xFE\xFF\0<"s), "UTF-16BE");
    EXPECT_EQ(XmlCharSet("<?xml version=\"1.0\" encoding='windows-1250'?><a/>"), "windows-1250");
    EXPECT_EQ(XmlCharSet("<?xml version=\"1.0\"?><a encoding=\"x\"/>"), "UTF-8");
    EXPECT_EQ(XmlCharSet("<a/>"), "UTF-8");
}

TEST(XmlBody, DecodesByTheBodyNotTheHeader)
{
    HttpResponse response;
    response.StartStatus("HTTP/1.1 200 OK");
    response.AddHeader("Content-Type", "application/rss+xml; charset=ISO-8859-1");
    response.UpdateFromHeaders();
    EXPECT_EQ(DecodeBody("<?xml version='1.0' encoding='windows-1250'?>\x9A", response),
              "<?xml version='1.0' encoding='windows-1250'?>\xC5\xA1");
    EXPECT_EQ(response.CharSet(), "windows-1250");
}

TEST(XmlBody, TextXmlKeepsTheHeaderRule)
{
    HttpResponse response;
    response.StartStatus("HTTP/1.1 200 OK");
    response.AddHeader("Content-Type", "text/xml");
    response.UpdateFromHeaders();
    EXPECT_EQ(DecodeBody("<?xml version='1.0' encoding='UTF-8'?>\xC3\xA1", response),
              "<?xml version='1.0' encoding='UTF-8'?>\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(MediaTypes, Kinds)
{
    EXPECT_TRUE(IsHtmlMediaType("text/html-sandboxed"));
    EXPECT_TRUE(IsHtmlMediaType("application/xhtml+xml"));
    EXPECT_FALSE(IsHtmlMediaType("text/plain"));
    EXPECT_TRUE(IsXmlMediaType("application/xml-dtd"));
    EXPECT_TRUE(IsXmlMediaType("application/atom+xml"));
    EXPECT_FALSE(IsXmlMediaType("text/svg+xml"));
    EXPECT_FALSE(IsXmlMediaType("application/json"));
    EXPECT_TRUE(IsMultipartMediaType("multipart/byteranges"));
    EXPECT_EQ(MediaTypeOf(" Text/HTML ; charset=x"), "text/html");
    EXPECT_EQ(MediaTypeParameter("multipart/mixed; boundary=\"a;b\"; x=1", "BOUNDARY"), "a;b");
    EXPECT_EQ(WithoutMediaTypeParameter("text/html;charset=x; level=1", "charset"),
              "text/html; level=1");
}

} // namespace
} // namespace net
