#include "settings/config_window_logic.h"
#include "settings/default_test_urls.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace settings {
namespace {

class ConfigWindowLogicTest : public ::testing::Test {
protected:
    test_support::TempDir dir_;
    ConfigWindowLogic logic_{TestUrlStore(platform::SystemProfile(), dir_.File("hopvane.ini"))};
};

TEST_F(ConfigWindowLogicTest, NothingStoredShowsThePlainDefault)
{
    EXPECT_EQ(logic_.FormShow(), PlainDefaultTestUrl());
    EXPECT_EQ(logic_.AdvMetroButton2Click(), PlainDefaultTestUrl());
}

TEST_F(ConfigWindowLogicTest, ResetThenCancelBringsBackTheStoredValue)
{
    logic_.AdvMetroButton1Click("http://stored/");
    EXPECT_EQ(logic_.AdvMetroButton3Click(), PlainDefaultTestUrl());
    EXPECT_EQ(logic_.AdvMetroButton2Click(), "http://stored/");
}

TEST_F(ConfigWindowLogicTest, ResetThenApplyStoresThePlainDefault)
{
    logic_.AdvMetroButton1Click("http://stored/");
    logic_.AdvMetroButton1Click(logic_.AdvMetroButton3Click());
    EXPECT_EQ(logic_.FormShow(), PlainDefaultTestUrl());
    EXPECT_NE(test_support::ReadFileBytes(dir_.File("hopvane.ini")).find(PlainDefaultTestUrl()),
              std::string::npos);
}

TEST_F(ConfigWindowLogicTest, ApplyingAnEmptyBoxShowsAnEmptyBoxNextTime)
{
    logic_.AdvMetroButton1Click("");
    EXPECT_EQ(logic_.FormShow(), "");
}

} // namespace
} // namespace settings
