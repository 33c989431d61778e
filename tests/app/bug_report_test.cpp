#include "app/bug_report.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace app {
namespace {

BugReport Sample(const std::string& message)
{
    return BugReport{"Hopvane", "1.1.0",      "2026-12-09 12:00:00",
                     "Debian",  "FormCreate", "platform::FileError",
                     message};
}

TEST(BugReport, FormatsOneFieldPerLine)
{
    EXPECT_EQ(FormatBugReport(Sample("Cannot open file \"x\". Boom")),
              "Application: Hopvane 1.1.0\r\n"
              "Time: 2026-12-09 12:00:00\r\n"
              "System: Debian\r\n"
              "Handler: FormCreate\r\n"
              "Error: platform::FileError\r\n"
              "Message: Cannot open file \"x\". Boom\r\n"
              "\r\n");
}

TEST(BugReport, KeepsAMultiLineMessageInsideItsField)
{
    const std::string text = FormatBugReport(Sample("Socket Error # 10061\r\nConnection refused."));
    EXPECT_NE(text.find("Message: Socket Error # 10061\n  Connection refused.\r\n"),
              std::string::npos)
        << text;
}

TEST(BugReport, AppendsReportsWithoutLosingEarlierOnes)
{
    test_support::TempDir dir;
    const std::string folder = dir.Path() + "/";
    AppendBugReport(folder, Sample("first"));
    AppendBugReport(folder, Sample("second"));
    const std::string file = test_support::ReadFileBytes(dir.File("bugreport.txt"));
    EXPECT_EQ(file, FormatBugReport(Sample("first")) + FormatBugReport(Sample("second")));
}

TEST(BugReport, MissingDataFolderIsAFileError)
{
    test_support::TempDir dir;
    EXPECT_THROW(AppendBugReport(dir.File("missing/"), Sample("x")), std::runtime_error);
}

} // namespace
} // namespace app
