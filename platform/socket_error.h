#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// Socket failures carry Windows Sockets error numbers on every platform, so a
// message reads the same everywhere.
constexpr int kWsaTimedOut = 10060;
constexpr int kWsaHostNotFound = 11001;

// The Windows Sockets text of the number; empty when the number is not one.
std::string WinsockErrorText(int code);

// "Socket Error # CODE" CR LF TEXT.
class SocketError : public std::runtime_error {
public:
    // The text of a Windows Sockets number.
    explicit SocketError(int code);
    // A number that is not a Windows Sockets one keeps the system's own text.
    SocketError(int code, const std::string& text);

    int Code() const { return code_; }

private:
    int code_;
};

} // namespace platform
