#include "tools/hopvane_fetch/error_message.h"

#include "net/http_error.h"

#include <cstdio>

namespace hopvane_fetch {

namespace {

bool IsControl(unsigned char c)
{
    return (c < 0x20 && c != '\n' && c != '\r' && c != '\t') || c == 0x7F;
}

bool LooksLikeHttp(const std::string& statusLine)
{
    for (const char c : statusLine) {
        if (IsControl(static_cast<unsigned char>(c)))
            return false;
    }
    return statusLine.rfind("HTTP/", 0) == 0;
}

} // namespace

std::string Printable(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!IsControl(byte)) {
            out += c;
            continue;
        }
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
        out += escaped;
    }
    return out;
}

std::string ErrorMessage(const std::exception& error)
{
    const std::string message = error.what();
    if (dynamic_cast<const net::HttpStatusError*>(&error) != nullptr && !LooksLikeHttp(message))
        return message.empty() ? "The reply was not HTTP: its status line is empty."
                               : "The reply was not HTTP: " + Printable(message);
    return Printable(message);
}

} // namespace hopvane_fetch
