#include "net/file_stream.h"
#include "platform/files.h"
#include "tests/net/client_test_support.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace net {
namespace {

using net_test::ErrorOf;

TEST(FileStreamPosix, ReasonFollowsTheFileName)
{
    test_support::TempDir dir;
    EXPECT_EQ(ErrorOf([&] { FileStream file(dir.File("missing/body.bin")); }),
              "Cannot create file \"" + dir.File("missing/body.bin") +
                  "\". No such file or directory");
    EXPECT_EQ(ErrorOf([&] { FileStream file(dir.Path()); }),
              "Cannot create file \"" + dir.Path() + "\". Is a directory");
}

TEST(FileStreamPosix, FailedWriteNamesTheFile)
{
    FileStream file("/dev/full");
    EXPECT_EQ(ErrorOf([&] { file.Write("body"); }),
              "Cannot create file \"/dev/full\". No space left on device");
}

TEST(FileStreamPosix, DeviceTakesTheBodyAndHasNothingToCutOff)
{
    FileStream file("/dev/null");
    EXPECT_EQ(ErrorOf([&] {
                  file.Write("body");
                  file.Truncate();
              }),
              "no error");
}

} // namespace
} // namespace net
