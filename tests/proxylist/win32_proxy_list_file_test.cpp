#include "platform/files.h"
#include "platform/win32/wide_text.h"
#include "proxylist/proxy_list.h"
#include "tests/support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using proxylist::ProxyList;
using test_support::ReadFileBytes;
using test_support::WriteFileBytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> FolderContent(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(platform::win32::ToWide(folder)))
        names.push_back(entry.path().filename().string());
    return names;
}

TEST(ProxyListFile, FailedSaveKeepsTheEarlierFile)
{
    test_support::TempDir dir;
    const std::string path = dir.File("proxylist.txt");
    WriteFileBytes(path, "old:1\r\n");
    ProxyList list;
    for (int i = 0; i < 100; ++i)
        list.Add("10.0.0." + std::to_string(i) + ":8080");

    std::optional<std::string> message;
    {
        // Another program reading the file: it can't be replaced meanwhile.
        const HANDLE reader =
            CreateFileW(platform::win32::ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(reader, INVALID_HANDLE_VALUE);
        try {
            list.SaveToFile(path);
        } catch (const platform::FileError& error) {
            message = error.what();
        }
        CloseHandle(reader);
    }
    ASSERT_TRUE(message) << "no error";
    EXPECT_THAT(*message, HasSubstr("Cannot create file \"" + path + "\""));
    EXPECT_EQ(ReadFileBytes(path), "old:1\r\n");
    EXPECT_THAT(FolderContent(dir.Path()), ElementsAre("proxylist.txt"));
    EXPECT_EQ(list.Count(), 100);
}

} // namespace
