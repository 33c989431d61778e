#pragma once

#include "platform/socket.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace net_test {

// What the server side of a test TLS connection accepts.
struct TlsServerOptions {
    enum class Versions { Tls10Only, Tls12Only };
    Versions versions = Versions::Tls10Only;
    std::string cipherList = "ALL:@SECLEVEL=0";
};

// The server end of a TLS connection on an accepted socket.
class TlsServerSession {
public:
    virtual ~TlsServerSession() = default;

    // False, with the reason in Error(), when the handshake fails.
    virtual bool Handshake(int timeoutMs) = 0;
    // Decrypted bytes; 0 when the client closed, failed or went silent.
    virtual std::size_t Read(char* buffer, std::size_t capacity, int timeoutMs) = 0;
    virtual void Write(std::string_view bytes) = 0;
    // Encrypts the bytes and sends only the first half of the records.
    virtual void WritePartialRecord(std::string_view bytes) = 0;
    // Encrypts the bytes and sends the records a byte at a time, with a
    // pause after each.
    virtual void WriteTrickled(std::string_view bytes, int pauseMs) = 0;

    virtual const std::string& Error() const = 0;
    // The protocol version agreed on (0x0301 for TLS 1.0).
    virtual int Version() const = 0;
    virtual bool ClientSentServerName() const = 0;
};

// A session through the same run-time loaded OpenSSL as the client; records
// go through memory, so a test can send a record in part. Throws
// std::runtime_error on Windows, where the test servers have no TLS library.
std::unique_ptr<TlsServerSession> StartTlsServerSession(platform::TcpSocket& socket,
                                                        const TlsServerOptions& options);

// Loads the servers' OpenSSL and makes the test certificate, so that a
// server answers a handshake at once; false when OpenSSL is missing. Not on
// Windows.
bool PrepareTlsServers();

} // namespace net_test
