#pragma once

#include "platform/socket.h"
#include "tests/net/tls_test_server.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace net_test {

// What a scripted server does on one connection, step by step.
class ConnectionScript {
public:
    // Reads up to and including the empty line that ends a request head.
    ConnectionScript& ReadRequest();
    // Reads whatever arrives next (at least one byte).
    ConnectionScript& ReadSome();
    ConnectionScript& Send(std::string bytes);
    // From here on the connection speaks TLS, as the server side.
    ConnectionScript& StartTls(TlsServerOptions options = {});
    // Encrypts the bytes and sends only the first half of the records.
    ConnectionScript& SendPartialRecord(std::string bytes);
    // Encrypts the bytes and sends the records a byte at a time, with a
    // pause after each.
    ConnectionScript& TrickleRecords(std::string bytes, int pauseMs);
    // Reads until the client closes the connection.
    ConnectionScript& AwaitClientClose();
    // Leaves the connection open for the test after the server finished.
    ConnectionScript& KeepOpen();
    ConnectionScript& Pause(int milliseconds);

    struct Step {
        enum class Kind {
            ReadRequest,
            ReadSome,
            Send,
            StartTls,
            SendPartial,
            TrickleRecords,
            AwaitClose,
            KeepOpen,
            Pause
        };
        Kind kind;
        std::string bytes;
        TlsServerOptions tls;
        int milliseconds = 0;
    };
    const std::vector<Step>& Steps() const { return steps_; }

private:
    std::vector<Step> steps_;
};

// What one connection brought.
struct ServedConnection {
    // Each request head read, exactly as received (decrypted inside TLS).
    std::vector<std::string> requests;
    // Every byte the client sent before any TLS.
    std::string received;
    // What went wrong on the server's side; empty when the script ran.
    std::string error;
    // TLS as the server saw it: the version agreed on, 0 without TLS.
    int tlsVersion = 0;
    bool clientSentServerName = false;
    // The connection, when the script kept it open.
    platform::TcpSocket kept;
};

// A loopback server that takes one connection per script, in order, and
// runs the script on it. Each wait of its own ends after a few seconds, so a
// client that does not come ends the test instead of hanging it.
class ScriptedServer {
public:
    explicit ScriptedServer(std::vector<ConnectionScript> scripts);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    std::uint16_t Port() const { return listener_.Port(); }
    // "http://127.0.0.1:PORT" + path, or with another scheme.
    std::string Url(std::string_view path, std::string_view scheme = "http") const;
    // Waits until every script has run.
    std::vector<ServedConnection>& Finish();
    // Whether a connection beyond the scripts is waiting to be accepted.
    bool HasExtraConnection() const { return listener_.HasPendingConnection(); }

private:
    void Run();

    platform::TcpListener listener_;
    std::vector<ConnectionScript> scripts_;
    std::vector<ServedConnection> served_;
    std::thread thread_;
};

// The reply a server gives with the body and its length.
std::string ReplyWithBody(std::string_view statusLine, std::string_view headers,
                          std::string_view body);

} // namespace net_test
