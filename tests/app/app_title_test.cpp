#include "app/app_title.h"

#include <gtest/gtest.h>

namespace app {
namespace {

struct TitleCase {
    const char* path;
    const char* title;
};

class ApplicationTitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ApplicationTitleTest, IsTheFileNameCutAtItsFirstDot)
{
    EXPECT_EQ(ApplicationTitle(GetParam().path), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ApplicationTitleTest,
    ::testing::Values(TitleCase{"/usr/bin/hopvane", "hopvane"},
                      TitleCase{"C:\\Program Files\\Hopvane\\Hopvane.exe", "Hopvane"},
                      TitleCase{"C:\\x\\HOPVANE.EXE", "Hopvane"},
                      TitleCase{"/opt/my.app/Hop.Vane.exe", "Hop"},
                      TitleCase{"/a/b/HopVaNe", "Hopvane"},
                      TitleCase{"/a/\xC5\xA0KODA.exe", "\xC5\xA0koda"}, TitleCase{"plain", "plain"},
                      TitleCase{"/a/.hidden", ""}));

} // namespace
} // namespace app
