#pragma once

#include "net/byte_source.h"
#include "net/time_limits.h"
#include "net/tls_layer.h"
#include "platform/socket.h"

#include <chrono>
#include <cstddef>
#include <string_view>

namespace net {

// A client's TCP connection, plain or through its TLS layer once that
// encrypts. Remembers whether it is still open: not closed by the peer and
// not broken by a failure.
class Connection : public ByteSource {
public:
    // The TLS layer, when there is one, must outlive the connection.
    Connection(platform::TcpSocket socket, TlsLayer* tls, const TimeLimits& limits);
    ~Connection() override;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Throws HttpError "Read timed out." when no data comes within the
    // response wait limit, or when the head, the body's pace or the whole
    // request runs out of time.
    std::size_t Receive(char* buffer, std::size_t capacity) override;
    bool WaitReadable(int timeoutMs) override;
    // A request has been sent: its reply's head must be complete in time.
    void HeadStarts();
    void BodyStarts() override;
    void Send(std::string_view bytes);
    // The TLS handshake over this connection.
    void StartTls();

    bool StillOpen() const { return socket_.IsOpen() && !peerClosed_ && !broken_; }
    void Close();

private:
    using Clock = std::chrono::steady_clock;

    bool Encrypting() const { return tls_ != nullptr && tls_->Encrypting(); }
    // How long the next receive may wait; throws when no time is left.
    int NextWaitMs() const;
    void Count(std::size_t received);
    template <typename Transfer> auto Guarded(Transfer&& transfer) -> decltype(transfer());

    platform::TcpSocket socket_;
    TlsLayer* tls_;
    TimeLimits limits_;
    bool peerClosed_ = false;
    bool broken_ = false;
    Clock::time_point requestDeadline_;
    // The head's deadline, or the end of the body's current pace window.
    Clock::time_point phaseDeadline_;
    bool readingBody_ = false;
    std::size_t bytesInWindow_ = 0;
};

} // namespace net
