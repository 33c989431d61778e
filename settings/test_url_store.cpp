#include "settings/test_url_store.h"

#include "platform/environment.h"
#include "platform/text_integer.h"

namespace settings {

namespace {

constexpr const char* kSection = "setting";
constexpr const char* kKey = "urltest";
constexpr const char* kCheckAheadKey = "checkahead";
constexpr const char* kHealthCheckKey = "healthcheck";
constexpr int kDefaultHealthCheckSeconds = 60;
constexpr std::size_t kReadBufferChars = 2048;

} // namespace

TestUrlStore::TestUrlStore(platform::Profile& profile, std::string iniPath)
    : profile_(profile), iniPath_(std::move(iniPath))
{
}

std::string TestUrlStore::Read(const std::string& defaultUrl) const
{
    std::string url = profile_.ReadString(kSection, kKey, defaultUrl, kReadBufferChars, iniPath_);
    profile_.Flush(iniPath_);
    return url;
}

void TestUrlStore::Write(const std::string& url) const
{
    const bool written = profile_.WriteString(kSection, kKey, url, iniPath_);
    profile_.Flush(iniPath_);
    if (!written)
        throw EIniFileException("Unable to write to " + iniPath_);
}

bool TestUrlStore::ReadCheckAhead() const
{
    const std::string value = profile_.ReadString(kSection, kCheckAheadKey, "1", 16, iniPath_);
    profile_.Flush(iniPath_);
    return value != "0";
}

int TestUrlStore::ReadHealthCheckSeconds() const
{
    const std::string value = profile_.ReadString(kSection, kHealthCheckKey, "", 16, iniPath_);
    profile_.Flush(iniPath_);
    const std::optional<std::int32_t> seconds = platform::TextToInteger(value);
    return seconds && *seconds >= 0 ? *seconds : kDefaultHealthCheckSeconds;
}

TestUrlStore ExecutableTestUrlStore()
{
    return TestUrlStore(platform::SystemProfile(),
                        platform::SettingsIniPath(platform::ExecutablePath()));
}

} // namespace settings
