#pragma once

#include "platform/files.h"
#include "proxylist/proxy_list.h"

#include <gtest/gtest.h>

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

// Loading the file fails with a file error that names it.
inline void ExpectLoadFailsNaming(const std::string& path)
{
    proxylist::ProxyList list;
    try {
        list.LoadFromFile(path);
        ADD_FAILURE() << "no error";
    } catch (const platform::FileError& error) {
        EXPECT_NE(std::string(error.what()).find("Cannot open file \"" + path + "\""),
                  std::string::npos)
            << error.what();
    }
}

} // namespace test_support
