#pragma once

#include "platform/profile.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace test_support {

// The test URL's section and key in an INI file of a fresh folder, through
// the system's profile functions.
class ProfileTest : public ::testing::Test {
protected:
    std::string Read(const std::string& defaultValue = "default", std::size_t bufferChars = 2048)
    {
        return profile_.ReadString("setting", "urltest", defaultValue, bufferChars, path_);
    }
    bool Write(const std::string& value)
    {
        return profile_.WriteString("setting", "urltest", value, path_);
    }

    test_support::TempDir folder_;
    std::string path_ = folder_.File("hopvane.ini");
    platform::Profile& profile_ = platform::SystemProfile();
};

} // namespace test_support
