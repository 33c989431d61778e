#include "sysproxy/stale_proxy.h"

#include "platform/files.h"
#include "sysproxy/applied_proxy_record.h"

#include <ctime>
#include <exception>

namespace sysproxy {

namespace {

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

} // namespace

bool ClearStaleProxy(const std::string& dataFolder,
                     const std::vector<platform::ProxySettingsStore*>& stores,
                     platform::NamedMutexes& mutexes, const std::string& ownName)
{
    const AppliedProxyRecord record(dataFolder);
    const std::optional<AppliedProxy> applied = record.Read();
    if (!applied)
        return false;
    // Only the copy that applied the proxy owns it, whatever state any other
    // copy is in.
    if (!applied->owner.empty() && applied->owner != ownName && mutexes.Exists(applied->owner))
        return false;
    try {
        PutBack(stores, applied->snapshot ? &*applied->snapshot : nullptr,
                platform::ParseProxyServer(applied->server));
    } catch (const std::exception&) {
        // The note stays: the next start tries again.
        return false;
    }
    record.Remove();
    const std::string done = applied->snapshot ? "switched off and the settings from before it put "
                                                 "back at start."
                                               : "switched off at start.";
    try {
        platform::AppendToFile(dataFolder + kBugReportFile,
                               LocalTimeStamp() + " The system proxy " + applied->server +
                                   " was still on from a run that ended without closing: " + done +
                                   "\r\n");
    } catch (const platform::FileError&) {
        // The proxy is off; only the note of it is missing.
    }
    return true;
}

} // namespace sysproxy
