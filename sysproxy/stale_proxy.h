#pragma once

#include "platform/named_mutexes.h"
#include "platform/proxy_settings.h"

#include <string>
#include <vector>

namespace sysproxy {

// At start: a proxy that an earlier run left applied is switched off and
// what the user had before it put back, unless the copy that applied it
// still runs. The note goes, and a line in "bugreport.txt" tells what was
// done. True when a proxy was switched off.
bool ClearStaleProxy(const std::string& dataFolder,
                     const std::vector<platform::ProxySettingsStore*>& stores,
                     platform::NamedMutexes& mutexes, const std::string& ownName);

} // namespace sysproxy
