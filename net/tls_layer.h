#pragma once

#include "platform/socket.h"

#include <cstddef>
#include <string_view>

struct ssl_st;
struct ssl_ctx_st;

namespace net {

struct TlsApi;

// Carries https exchanges over a client's connection: in pass-through until
// the handshake (the connection's bytes go over the socket unchanged), then
// encrypting. What a server sees is fixed: TLS 1.0 only, the cipher list
// "AES:ALL:!aNULL:!eNULL:+RC4:@STRENGTH", no server name, no certificate
// check. A caller may attach one to a client; the client makes its own for
// an https URL otherwise.
class TlsLayer {
public:
    TlsLayer() = default;
    ~TlsLayer();
    TlsLayer(const TlsLayer&) = delete;
    TlsLayer& operator=(const TlsLayer&) = delete;

    // Loads the process's TLS library if need be; false when it cannot.
    bool LoadLibrary();
    // The client handshake over the connected socket, whose send and
    // receive calls are each limited to socketTimeLimitMs from now on.
    // Throws HttpError "Could not load SSL library." or "Error connecting
    // with SSL." CR LF + the library's text; platform::SocketError when the
    // socket fails (10060 when a send or receive waits too long).
    void StartEncryption(platform::TcpSocket& socket, int socketTimeLimitMs);
    bool Encrypting() const { return socket_ != nullptr; }

    // Whether decrypted data, a close or an error is there or arrives
    // within the time.
    bool WaitReadable(int timeoutMs) const;
    // At most capacity decrypted bytes; 0 once the peer has closed. Throws
    // HttpError "Read timed out." when no data comes within waitMs or a
    // record stops arriving for the socket's time limit.
    std::size_t Receive(char* buffer, std::size_t capacity, int waitMs);
    void Send(std::string_view bytes);
    // Ends the session, telling the peer when it is still there; back to
    // pass-through.
    void Stop(bool tellPeer);

private:
    // What a failing call left behind, read right after it.
    struct Failure {
        int error = 0;
        int systemError = 0;
        unsigned long queued = 0;

        // The deadline of a call on the non-blocking socket passed.
        bool deadlinePassed = false;

        bool WaitedTooLong() const;
        bool Interrupted() const;
        // The peer closed the socket without ending the session.
        bool IsUnannouncedClose(const TlsApi& api, int result) const;
        [[noreturn]] void Throw(const TlsApi& api) const;
    };
    Failure FailureOf(int result) const;
    // Calls the library on the socket, made non-blocking meanwhile, until the
    // call completes or fails, waiting for the socket as it asks but never
    // past the time: a peer that sends a byte at a time cannot stretch it.
    template <typename Call>
    int WithinTime(platform::TcpSocket& socket, int timeMs, Call&& call, Failure& failure) const;

    const TlsApi* api_ = nullptr;
    platform::TcpSocket* socket_ = nullptr;
    ssl_ctx_st* context_ = nullptr;
    ssl_st* ssl_ = nullptr;
    int socketTimeLimitMs_ = 0;
};

} // namespace net
