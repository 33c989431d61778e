#pragma once

#include "net/http_client.h"
#include "tests/net/scripted_server.h"

#include <string>

namespace net_test {

inline void UseProxy(net::HttpClient& client, const ScriptedServer& proxy)
{
    client.SetProxyHostName("127.0.0.1");
    client.SetProxyPortNumber(proxy.Port());
}

// The CONNECT request head the client sends for an https URL.
inline std::string ExpectedConnect(const std::string& authority, const std::string& host)
{
    return "CONNECT " + authority +
           " HTTP/1.1\r\nPragma: no-cache\r\n"
           "Proxy-Connection: keep-alive\r\nHost: " +
           host +
           "\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"
           "\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n\r\n";
}

} // namespace net_test
