#include "platform/ini_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using platform::FindIniValue;
using platform::SetIniValue;

struct ReadCase {
    const char* what;
    const char* text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

std::ostream& operator<<(std::ostream& out, const ReadCase& c)
{
    return out << c.what;
}

class IniReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, FindsTheValue)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(FindIniValue(c.text, c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniReadTest,
    ::testing::Values(
        ReadCase{"CR LF lines", "[setting]\r\nurltest=http://a/\r\n", "setting", "urltest",
                 "http://a/"},
        ReadCase{"LF lines", "[setting]\nurltest=http://a/\n", "setting", "urltest", "http://a/"},
        ReadCase{"no final line end", "[setting]\nurltest=v", "setting", "urltest", "v"},
        ReadCase{"section in other case", "[SETTING]\nurltest=v\n", "setting", "urltest", "v"},
        ReadCase{"key in other case", "[setting]\nURLTest=v\n", "setting", "urltest", "v"},
        ReadCase{"letters beyond ASCII fold too", "[\xC4\x8C\x65ština]\nKL\xC3\x8D\xC4\x8C=v\n",
                 "\xC4\x8D\x65ština", "kl\xC3\xAD\xC4\x8D", "v"},
        ReadCase{"blanks around key and value", "[setting]\n  urltest  =  a b  \n", "setting",
                 "urltest", "a b"},
        ReadCase{"tabs around key and value", "[setting]\n\turltest\t=\ta\t\n", "setting",
                 "urltest", "a"},
        ReadCase{"blanks around and inside the header", "  [ setting ]  \nurltest=v\n", "setting",
                 "urltest", "v"},
        ReadCase{"blanks around the names asked for", "[setting]\nurltest=v\n", " setting ",
                 " urltest ", "v"},
        ReadCase{"blank inside a key", "[setting]\nurl test=v\n", "setting", "url test", "v"},
        ReadCase{"double quotes removed", "[s]\nk=\"a b\"\n", "s", "k", "a b"},
        ReadCase{"single quotes removed", "[s]\nk='a b'\n", "s", "k", "a b"},
        ReadCase{"blanks inside quotes kept", "[s]\nk=\" a \"\n", "s", "k", " a "},
        ReadCase{"only one pair of quotes removed", "[s]\nk=\"\"a\"\"\n", "s", "k", "\"a\""},
        ReadCase{"mismatched quotes kept", "[s]\nk=\"a'\n", "s", "k", "\"a'"},
        ReadCase{"opening quote alone kept", "[s]\nk=\"a\n", "s", "k", "\"a"},
        ReadCase{"lone quote kept", "[s]\nk=\"\n", "s", "k", "\""},
        ReadCase{"empty quotes give empty text", "[s]\nk=\"\"\n", "s", "k", ""},
        ReadCase{"nothing after the equals sign", "[setting]\nurltest=\n", "setting", "urltest",
                 ""},
        ReadCase{"only blanks after the equals sign", "[setting]\nurltest=   \r\n", "setting",
                 "urltest", ""},
        ReadCase{"equals sign inside the value", "[s]\nk=a=b\n", "s", "k", "a=b"},
        ReadCase{"semicolon inside the value", "[s]\nk=http://a/;b\n", "s", "k", "http://a/;b"},
        ReadCase{"text after the closing bracket", "[setting] ; note\nurltest=v\n", "setting",
                 "urltest", "v"},
        ReadCase{"UTF-8 value", "[s]\nk=\xC4\x8D\x65ština\n", "s", "k", "\xC4\x8D\x65ština"},
        ReadCase{"first of two equal keys", "[s]\nk=a\nK=b\n", "s", "k", "a"},
        ReadCase{"empty text", "", "setting", "urltest", std::nullopt},
        ReadCase{"missing key", "[setting]\nother=v\n", "setting", "urltest", std::nullopt},
        ReadCase{"missing section", "[other]\nurltest=v\n", "setting", "urltest", std::nullopt},
        ReadCase{"key of another section", "[other]\nurltest=a\n[setting]\nx=1\n", "setting",
                 "urltest", std::nullopt},
        ReadCase{"key of the next section", "[setting]\nx=1\n[other]\nurltest=a\n", "setting",
                 "urltest", std::nullopt},
        ReadCase{"key before any section", "urltest=v\n[setting]\n", "setting", "urltest",
                 std::nullopt},
        ReadCase{"line without an equals sign", "[setting]\nurltest\n", "setting", "urltest",
                 std::nullopt},
        ReadCase{"commented-out key", "[setting]\n;urltest=v\n", "setting", "urltest",
                 std::nullopt},
        ReadCase{"indented comment", "[setting]\n  ; urltest=v\n", "setting", "urltest",
                 std::nullopt},
        ReadCase{"header without its closing bracket", "[setting\nurltest=v\n", "setting",
                 "urltest", std::nullopt},
        ReadCase{"key prefix is no match", "[s]\nurltest2=v\n", "s", "urltest", std::nullopt},
        ReadCase{"only the first section of a name counts",
                 "[setting]\nx=1\n[other]\n[Setting]\nurltest=v\n", "setting", "urltest",
                 std::nullopt}));

struct WriteCase {
    const char* what;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

std::ostream& operator<<(std::ostream& out, const WriteCase& c)
{
    return out << c.what;
}

class IniWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWriteTest, ChangesOnlyWhatItMust)
{
    const WriteCase& c = GetParam();
    const std::string after = SetIniValue(c.before, c.section, c.key, c.value);
    EXPECT_EQ(after, c.after);
    EXPECT_EQ(FindIniValue(after, c.section, c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniWriteTest,
    ::testing::Values(
        WriteCase{"empty text gets section and key", "", "setting", "urltest", "http://a/",
                  "[setting]\r\nurltest=http://a/\r\n"},
        WriteCase{"names written without blanks around them", "", " setting ", " urltest ", "v",
                  "[setting]\r\nurltest=v\r\n"},
        WriteCase{"existing key replaced where it stands",
                  "[setting]\r\nurltest=old\r\nother=1\r\n", "setting", "urltest", "new",
                  "[setting]\r\nurltest=new\r\nother=1\r\n"},
        WriteCase{"replaced line keeps the key's spelling and its LF line end",
                  "[Setting]\nURLTEST = old \nx=1\n", "setting", "urltest", "new",
                  "[Setting]\nURLTEST=new\nx=1\n"},
        WriteCase{"replaced last line stays without a line end", "[setting]\nurltest=old",
                  "setting", "urltest", "new", "[setting]\nurltest=new"},
        WriteCase{"value emptied", "[setting]\nurltest=old\n", "setting", "urltest", "",
                  "[setting]\nurltest=\n"},
        WriteCase{"only the first of two equal keys replaced", "[s]\nk=1\nk=2\n", "s", "k", "v",
                  "[s]\nk=v\nk=2\n"},
        WriteCase{"new key after the last key, before the blank line and the next section",
                  "[setting]\r\na=1\r\n\r\n[other]\r\nb=2\r\n", "setting", "urltest", "v",
                  "[setting]\r\na=1\r\nurltest=v\r\n\r\n[other]\r\nb=2\r\n"},
        WriteCase{"new key right after a header with no keys", "[setting]\r\n\r\n[other]\r\n",
                  "setting", "urltest", "v", "[setting]\r\nurltest=v\r\n\r\n[other]\r\n"},
        WriteCase{"new key before a trailing comment of the section",
                  "[setting]\na=1\n; about other\n[other]\n", "setting", "urltest", "v",
                  "[setting]\na=1\nurltest=v\r\n; about other\n[other]\n"},
        WriteCase{"header as last line without a line end", "[setting]", "setting", "urltest", "v",
                  "[setting]\r\nurltest=v\r\n"},
        WriteCase{"key line as last line without a line end", "[setting]\r\na=1", "setting",
                  "urltest", "v", "[setting]\r\na=1\r\nurltest=v\r\n"},
        WriteCase{"header matched without regard to case", "[SETTING]\n", "setting", "urltest", "v",
                  "[SETTING]\nurltest=v\r\n"},
        WriteCase{"missing section appended", "[other]\r\nb=2\r\n", "setting", "urltest", "v",
                  "[other]\r\nb=2\r\n[setting]\r\nurltest=v\r\n"},
        WriteCase{"missing section appended after a last line without a line end", "[other]\nb=2",
                  "setting", "urltest", "v", "[other]\nb=2\r\n[setting]\r\nurltest=v\r\n"},
        WriteCase{"same key of another section left alone", "[other]\nurltest=a\n[setting]\nx=1\n",
                  "setting", "urltest", "v", "[other]\nurltest=a\n[setting]\nx=1\nurltest=v\r\n"},
        WriteCase{"comments and odd lines kept byte for byte",
                  "; top\r\n[setting]\n; c\nurltest=old\n  # odd line \t\n\n[z]\r\n", "setting",
                  "urltest", "new",
                  "; top\r\n[setting]\n; c\nurltest=new\n  # odd line \t\n\n[z]\r\n"},
        WriteCase{"commented-out key is not the key", "[setting]\n;urltest=old\n", "setting",
                  "urltest", "v", "[setting]\nurltest=v\r\n;urltest=old\n"},
        WriteCase{"UTF-8 value", "[s]\n", "s", "k", "\xC4\x8D\x65ština",
                  "[s]\nk=\xC4\x8D\x65ština\r\n"}));

} // namespace
