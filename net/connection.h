#pragma once

#include "net/byte_source.h"
#include "net/time_limits.h"
#include "net/tls_layer.h"
#include "platform/socket.h"

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
    // response wait limit.
    std::size_t Receive(char* buffer, std::size_t capacity) override;
    bool WaitReadable(int timeoutMs) override;
    void Send(std::string_view bytes);
    // The TLS handshake over this connection.
    void StartTls();

    bool StillOpen() const { return socket_.IsOpen() && !peerClosed_ && !broken_; }
    void Close();

private:
    bool Encrypting() const { return tls_ != nullptr && tls_->Encrypting(); }
    template <typename Transfer> auto Guarded(Transfer&& transfer) -> decltype(transfer());

    platform::TcpSocket socket_;
    TlsLayer* tls_;
    TimeLimits limits_;
    bool peerClosed_ = false;
    bool broken_ = false;
};

} // namespace net
