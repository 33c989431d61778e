#pragma once

#include "proxylist/proxy_list.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace test_support {

inline std::vector<std::string> Entries(const proxylist::ProxyList& list)
{
    std::vector<std::string> entries;
    for (int i = 0; i < list.Count(); ++i)
        entries.push_back(list.Line(i));
    return entries;
}

inline void AddEntries(proxylist::ProxyList& list, std::initializer_list<const char*> entries)
{
    for (const char* entry : entries)
        list.Add(entry);
}

} // namespace test_support
