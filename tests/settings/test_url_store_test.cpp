#include "platform/files.h"
#include "settings/default_test_urls.h"
#include "settings/test_url_store.h"
#include "tests/support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace settings {
namespace {

using test_support::ReadFileBytes;
using test_support::TempDir;
using test_support::WriteFileBytes;
using ::testing::_;
using ::testing::InSequence;
using ::testing::Return;

class MockProfile : public platform::Profile {
public:
    MOCK_METHOD(std::string, ReadString,
                (std::string_view, std::string_view, std::string_view, std::size_t,
                 const std::string&),
                (override));
    MOCK_METHOD(bool, WriteString,
                (std::string_view, std::string_view, std::string_view, const std::string&),
                (override));
    MOCK_METHOD(void, Flush, (const std::string&), (override));
};

TEST(DefaultTestUrls, PointAtTheTestPageOfTheServiceHost)
{
    EXPECT_EQ(SecureDefaultTestUrl(), "https://127.0.0.1:18443/hopvane/myip.php");
    EXPECT_EQ(PlainDefaultTestUrl(), "http://127.0.0.1:18080/hopvane/myip.php");
}

TEST(TestUrlStore, MissingFileGivesTheDefaultAndCreatesNothing)
{
    TempDir dir;
    const TestUrlStore store(platform::SystemProfile(), dir.File("hopvane.ini"));
    EXPECT_EQ(store.Read(SecureDefaultTestUrl()), SecureDefaultTestUrl());
    EXPECT_EQ(store.Read(PlainDefaultTestUrl()), PlainDefaultTestUrl());
    EXPECT_FALSE(platform::FileExists(dir.File("hopvane.ini")));
}

TEST(TestUrlStore, WrittenValueIsReadBackWhateverTheDefault)
{
    TempDir dir;
    const TestUrlStore store(platform::SystemProfile(), dir.File("hopvane.ini"));
    store.Write("http://example.test/page?a=1");
    EXPECT_EQ(store.Read(PlainDefaultTestUrl()), "http://example.test/page?a=1");
    const std::string file = ReadFileBytes(dir.File("hopvane.ini"));
    EXPECT_NE(file.find("[setting]"), std::string::npos) << file;
    EXPECT_NE(file.find("urltest=http://example.test/page?a=1"), std::string::npos) << file;
}

TEST(TestUrlStore, EmptiedValueReadsEmptyNotTheDefault)
{
    TempDir dir;
    const TestUrlStore store(platform::SystemProfile(), dir.File("hopvane.ini"));
    store.Write("");
    EXPECT_EQ(store.Read(SecureDefaultTestUrl()), "");
}

TEST(TestUrlStore, LongValueReadsBackAsItsFirst2047Characters)
{
    TempDir dir;
    const TestUrlStore store(platform::SystemProfile(), dir.File("hopvane.ini"));
    const std::string url = "http://h/" + std::string(2991, 'x');
    ASSERT_EQ(url.size(), 3000u);
    store.Write(url);
    EXPECT_EQ(store.Read(""), url.substr(0, 2047));
}

TEST(TestUrlStore, WritingLeavesOtherSectionsAndKeysAlone)
{
    TempDir dir;
    const std::string before = "; kept\r\n[other]\r\nurltest=not mine\r\n[setting]\r\nmore=1\r\n";
    WriteFileBytes(dir.File("hopvane.ini"), before);
    const TestUrlStore store(platform::SystemProfile(), dir.File("hopvane.ini"));
    store.Write("http://new/");
    const std::string after = ReadFileBytes(dir.File("hopvane.ini"));
    EXPECT_EQ(after.find("; kept\r\n[other]\r\nurltest=not mine\r\n[setting]\r\nmore=1\r\n"), 0u)
        << after;
    EXPECT_EQ(store.Read(""), "http://new/");
}

TEST(TestUrlStore, FailedWriteRaisesWithThePath)
{
    TempDir dir;
    WriteFileBytes(dir.File("notafolder"), "");
    // A file stands where the folder should be: no one can write there, root included.
    const std::string path = dir.File("notafolder/hopvane.ini");
    const TestUrlStore store(platform::SystemProfile(), path);
    try {
        store.Write("http://x/");
        FAIL() << "no error";
    } catch (const EIniFileException& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
}

TEST(TestUrlStore, ReadsWithA2048CharacterBufferAndFlushesAfterEveryAccess)
{
    MockProfile profile;
    const TestUrlStore store(profile, "/x/hopvane.ini");
    {
        InSequence order;
        EXPECT_CALL(profile, ReadString("setting", "urltest", "dflt", 2048u, "/x/hopvane.ini"))
            .WillOnce(Return("stored"));
        EXPECT_CALL(profile, Flush("/x/hopvane.ini"));
        EXPECT_CALL(profile, WriteString("setting", "urltest", "new", "/x/hopvane.ini"))
            .WillOnce(Return(false));
        EXPECT_CALL(profile, Flush("/x/hopvane.ini"));
    }
    EXPECT_EQ(store.Read("dflt"), "stored");
    EXPECT_THROW(store.Write("new"), EIniFileException);
}

} // namespace
} // namespace settings
