#pragma once

#include "net/byte_sink.h"
#include "net/cookie_store.h"
#include "net/http_response.h"
#include "net/time_limits.h"
#include "net/tls_layer.h"
#include "net/work_progress.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace net {

class Connection;

// A one-request HTTP/1.1 GET client: plain http and https (TLS 1.0), directly
// or through an HTTP proxy. It follows no redirect, sends no credentials and
// keeps cookies for its own life only. Create one, set it up, make one
// request, release it; it is used by the thread that made it.
//
// Every failure is an exception: platform::SocketError for the socket,
// HttpStatusError for a status other than 2xx, HttpError for the rest.
class HttpClient {
public:
    using ProgressHandler =
        std::function<void(HttpClient& client, WorkMode mode, std::int64_t workCount)>;
    using WorkBeginHandler =
        std::function<void(HttpClient& client, WorkMode mode, std::int64_t expectedTotal)>;
    using WorkEndHandler = std::function<void(HttpClient& client, WorkMode mode)>;

    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // An HTTP proxy: empty (the default) connects to the URL's host.
    const std::string& ProxyHostName() const { return proxyHostName_; }
    void SetProxyHostName(std::string hostName) { proxyHostName_ = std::move(hostName); }
    // The proxy's port, of which the low 16 bits are used.
    int ProxyPortNumber() const { return proxyPortNumber_; }
    void SetProxyPortNumber(int portNumber) { proxyPortNumber_ = portNumber; }

    // The layer that carries https; without one the client makes its own
    // for an https URL. An attached layer serving an http URL stays in
    // pass-through.
    void AttachTlsLayer(std::unique_ptr<TlsLayer> layer) { tlsLayer_ = std::move(layer); }

    // Called while a body is read, with the running count of bytes taken.
    void SetOnProgress(ProgressHandler handler) { onProgress_ = std::move(handler); }
    void SetOnWorkBegin(WorkBeginHandler handler) { onWorkBegin_ = std::move(handler); }
    void SetOnWorkEnd(WorkEndHandler handler) { onWorkEnd_ = std::move(handler); }

    // For tests only: the program always waits as long as TimeLimits says.
    void SetTimeLimits(const TimeLimits& limits) { limits_ = limits; }

    // The body of the 2xx response, decoded to text by its character set.
    std::string GetText(const std::string& url);
    // The body bytes, written into the sink from its position on as they
    // arrive; once the body has been read, what followed in the sink is cut
    // off. After a failure the sink may hold part of a 2xx body.
    void GetStream(const std::string& url, ByteSink& sink);

    // The response being read or read last.
    const HttpResponse& Response() const { return response_; }

private:
    void Get(const std::string& url, ByteSink& sink);
    void EndExchange();
    void CloseConnection();

    std::string proxyHostName_;
    int proxyPortNumber_ = 0;
    ProgressHandler onProgress_;
    WorkBeginHandler onWorkBegin_;
    WorkEndHandler onWorkEnd_;
    TimeLimits limits_;
    HttpResponse response_;
    CookieStore cookies_;
    WorkProgress progress_;
    // Declared before the connection, which uses it until it goes.
    std::unique_ptr<TlsLayer> tlsLayer_;
    std::unique_ptr<Connection> connection_;
};

// One GET for text with a client of its own, directly (no proxy) and with the
// client's own TLS layer; the client is released whatever the outcome.
std::string GetTextDirect(const std::string& url);

} // namespace net
