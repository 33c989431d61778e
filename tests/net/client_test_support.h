#pragma once

#include <exception>
#include <string>

namespace net_test {

// The message of what the call throws; "no error" when it returns.
template <typename Call> std::string ErrorOf(Call&& call)
{
    try {
        call();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "no error";
}

// The request head a GET of the client sends, with the given first line and
// Host value.
inline std::string ExpectedGet(const std::string& requestLine, const std::string& host,
                               const std::string& cookie = "")
{
    return requestLine + "\r\nHost: " + host +
           "\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"
           "\r\nAccept-Encoding: identity"
           "\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n" +
           (cookie.empty() ? std::string() : "Cookie: " + cookie + "\r\n") + "\r\n";
}

} // namespace net_test
