#pragma once

#include "platform/profile.h"

#include <stdexcept>
#include <string>

namespace settings {

// "Unable to write to PATH"
class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The test URL in the INI file beside the executable, section "setting",
// key "urltest", and the check-ahead setting beside it. Every access opens
// the file afresh; nothing is cached.
class TestUrlStore {
public:
    TestUrlStore(platform::Profile& profile, std::string iniPath);

    // The stored value (at most 2047 characters), or the default when the
    // file, the section or the key is missing.
    std::string Read(const std::string& defaultUrl) const;
    void Write(const std::string& url) const;
    // Beside it, key "checkahead": whether the entries ahead of the walk may
    // be probed before their turn. Only "0" says no.
    bool ReadCheckAhead() const;
    // Key "healthcheck": seconds between probes of the applied proxy, 60
    // when missing or not a number; 0 never probes.
    int ReadHealthCheckSeconds() const;

    const std::string& IniPath() const { return iniPath_; }

private:
    platform::Profile& profile_;
    std::string iniPath_;
};

// The store beside the running executable, on the system's profile functions.
TestUrlStore ExecutableTestUrlStore();

} // namespace settings
