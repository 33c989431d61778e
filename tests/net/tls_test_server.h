#pragma once

#include "platform/socket.h"

#include <memory>
#include <string>
#include <string_view>

struct ssl_st;
struct ssl_ctx_st;
struct bio_st;

namespace net_test {

// What the server side of a test TLS connection accepts.
struct TlsServerOptions {
    enum class Versions { Tls10Only, Tls12Only };
    Versions versions = Versions::Tls10Only;
    std::string cipherList = "ALL:@SECLEVEL=0";
};

// The server end of a TLS connection on an accepted socket, through the
// same run-time loaded OpenSSL as the client. Records go through memory, so
// a test can send a record in part.
class TlsServerSession {
public:
    TlsServerSession(platform::TcpSocket& socket, const TlsServerOptions& options);
    ~TlsServerSession();
    TlsServerSession(const TlsServerSession&) = delete;
    TlsServerSession& operator=(const TlsServerSession&) = delete;

    // False, with the reason in Error(), when the handshake fails.
    bool Handshake(int timeoutMs);
    // Decrypted bytes; 0 when the client closed, failed or went silent.
    std::size_t Read(char* buffer, std::size_t capacity, int timeoutMs);
    void Write(std::string_view bytes);
    // Encrypts the bytes and sends only the first half of the records.
    void WritePartialRecord(std::string_view bytes);

    const std::string& Error() const { return error_; }
    // The protocol version agreed on (0x0301 for TLS 1.0).
    int Version() const;
    bool ClientSentServerName() const;

private:
    std::string TakeOutput();
    bool ReceiveInput(int timeoutMs);

    platform::TcpSocket& socket_;
    ssl_ctx_st* context_ = nullptr;
    ssl_st* ssl_ = nullptr;
    bio_st* input_ = nullptr;
    bio_st* output_ = nullptr;
    std::string error_;
};

// Loads the servers' OpenSSL and makes the test certificate, so that a
// server answers a handshake at once; false when OpenSSL is missing.
bool PrepareTlsServers();

} // namespace net_test
