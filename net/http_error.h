#pragma once

#include "net/error_texts.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace net {

// A failure of the client itself; the message is one of the texts of
// error_texts.h (or, for TLS, built from them). Socket failures are
// platform::SocketError.
class HttpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The peer closed the connection before a line was complete.
class ConnectionClosedError : public HttpError {
public:
    ConnectionClosedError() : HttpError(kConnectionClosedGracefully) {}
};

// No response data arrived within the time limit.
class ReadTimeoutError : public HttpError {
public:
    ReadTimeoutError() : HttpError(kReadTimedOut) {}
};

// A reply whose status ends the request: the message is the status line as
// the server sent it.
class HttpStatusError : public HttpError {
public:
    HttpStatusError(const std::string& statusLine, std::int32_t code, std::string bodyText)
        : HttpError(statusLine), code_(code), bodyText_(std::move(bodyText))
    {
    }

    std::int32_t Code() const { return code_; }
    // The reply's body, decoded as a successful body would be.
    const std::string& BodyText() const { return bodyText_; }

private:
    std::int32_t code_;
    std::string bodyText_;
};

} // namespace net
