#include "sysproxy/applied_proxy_record.h"

#include "extctl/status_mutex.h"
#include "platform/files.h"
#include "platform/registry_key.h"

#include <ctime>
#include <exception>

namespace sysproxy {

namespace {

constexpr char kRecordFile[] = "proxyapplied.txt";
constexpr char kBugReportFile[] = "bugreport.txt";

std::string LocalTimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

bool AnotherCopyRuns(platform::NamedMutexes& mutexes)
{
    for (const char* name : {extctl::kStatusOff, extctl::kStatusChange, extctl::kStatusOk}) {
        if (mutexes.Exists(name))
            return true;
    }
    return false;
}

} // namespace

AppliedProxyRecord::AppliedProxyRecord(std::string dataFolder)
    : path_(std::move(dataFolder) + kRecordFile)
{
}

void AppliedProxyRecord::Write(const std::string& entry) const
{
    try {
        platform::ReplaceFileContent(path_, entry);
    } catch (const platform::FileError&) {
        // Without the note only a crash goes unnoticed; nothing else changes.
    }
}

void AppliedProxyRecord::Remove() const
{
    platform::RemoveFile(path_);
}

std::optional<std::string> AppliedProxyRecord::Read() const
{
    if (!platform::FileExists(path_))
        return std::nullopt;
    try {
        return platform::ReadWholeFile(path_);
    } catch (const platform::FileError&) {
        return std::string();
    }
}

void SwitchSystemProxyOff(platform::Registry& registry,
                          platform::InternetSettings& internetSettings)
{
    {
        platform::RegistryKey key(registry, platform::kInternetSettingsKey, platform::kKeyWrite);
        if (key.IsOpen())
            key.WriteInteger("ProxyEnable", 0);
    }
    internetSettings.NotifySettingsChanged();
}

bool ClearStaleProxy(const std::string& dataFolder, platform::Registry& registry,
                     platform::InternetSettings& internetSettings, platform::NamedMutexes& mutexes)
{
    const AppliedProxyRecord record(dataFolder);
    const auto entry = record.Read();
    if (!entry || AnotherCopyRuns(mutexes))
        return false;
    try {
        SwitchSystemProxyOff(registry, internetSettings);
    } catch (const std::exception&) {
        // The record stays: the next start tries again.
        return false;
    }
    record.Remove();
    try {
        platform::AppendToFile(dataFolder + kBugReportFile,
                               LocalTimeStamp() + " The system proxy " + *entry +
                                   " was still on from a run that ended without closing: "
                                   "switched off at start.\r\n");
    } catch (const platform::FileError&) {
        // The proxy is off; only the note of it is missing.
    }
    return true;
}

} // namespace sysproxy
