#pragma once

#include "platform/internet_settings.h"
#include "platform/named_mutexes.h"
#include "platform/registry.h"

#include <optional>
#include <string>

namespace sysproxy {

// A note in the data folder that this program has pointed the system proxy
// at an entry, kept until it switches the proxy off again. A run that ends
// without closing (killed, power lost) leaves it behind.
class AppliedProxyRecord {
public:
    // The folder path ends with its separator.
    explicit AppliedProxyRecord(std::string dataFolder);

    // Failures pass silently: the proxy is applied all the same.
    void Write(const std::string& entry) const;
    void Remove() const;
    std::optional<std::string> Read() const;

private:
    std::string path_;
};

// Switches the system proxy off and tells the system's web stack.
void SwitchSystemProxyOff(platform::Registry& registry,
                          platform::InternetSettings& internetSettings);

// At start, before this run holds a status name: a proxy that an earlier run
// left applied is switched off, unless another copy of the program runs and
// owns it. The record goes, and a line in "bugreport.txt" tells what was
// done. True when a proxy was switched off.
bool ClearStaleProxy(const std::string& dataFolder, platform::Registry& registry,
                     platform::InternetSettings& internetSettings, platform::NamedMutexes& mutexes);

} // namespace sysproxy
