#include "net/http_client.h"

#include "net/ascii_text.h"
#include "net/body_decoding.h"
#include "net/connection.h"
#include "net/error_texts.h"
#include "net/host_address.h"
#include "net/http_error.h"
#include "net/memory_stream.h"
#include "net/receive_buffer.h"
#include "net/request_writer.h"
#include "net/response_reader.h"
#include "net/url.h"

#include <ctime>

namespace net {

namespace {

bool AsksToClose(const std::string& value)
{
    return EqualsIgnoreAsciiCase(TrimAscii(value), "close");
}

} // namespace

HttpClient::HttpClient()
{
    progress_.SetCallbacks(
        [this](WorkMode mode, std::int64_t count) {
            if (onProgress_)
                onProgress_(*this, mode, count);
        },
        [this](WorkMode mode, std::int64_t expectedTotal) {
            if (onWorkBegin_)
                onWorkBegin_(*this, mode, expectedTotal);
        },
        [this](WorkMode mode) {
            if (onWorkEnd_)
                onWorkEnd_(*this, mode);
        });
}

HttpClient::~HttpClient()
{
    CloseConnection();
}

std::string HttpClient::GetText(const std::string& url)
{
    MemoryStream body;
    Get(url, body);
    return DecodeBody(body.Bytes(), response_);
}

void HttpClient::GetStream(const std::string& url, ByteSink& sink)
{
    Get(url, sink);
}

void HttpClient::Get(const std::string& text, ByteSink& sink)
{
    CloseConnection();
    const Url url = ParseUrl(text);
    const bool viaProxy = !proxyHostName_.empty();
    const std::string& host = viaProxy ? proxyHostName_ : url.host;
    const auto port = viaProxy ? static_cast<std::uint16_t>(proxyPortNumber_) : url.port;
    if (host.empty())
        throw HttpError(kHostRequired);
    if (port == 0)
        throw HttpError(kPortRequired);
    if (url.IsHttps() && !tlsLayer_)
        tlsLayer_ = std::make_unique<TlsLayer>();

    connection_ = std::make_unique<Connection>(
        platform::TcpSocket::Connect(ResolveHostAddress(host), port, limits_.connectMs),
        tlsLayer_.get(), limits_);
    // The library is loaded once connected; for http a failure goes unnoticed.
    const bool libraryLoaded = tlsLayer_ && tlsLayer_->LoadLibrary();
    ResponseContext context{response_, cookies_, url, progress_, limits_.redirectBodyWaitMs};
    try {
        if (url.IsHttps()) {
            if (viaProxy) {
                connection_->Send(BuildConnectRequest(url));
                connection_->HeadStarts();
                ReceiveBuffer proxyReply(*connection_, progress_);
                ReadConnectReply(proxyReply, context);
            }
            if (!libraryLoaded)
                throw HttpError(kCouldNotLoadSslLibrary);
            connection_->StartTls();
        }
        const std::string target =
            viaProxy && !url.IsHttps() ? AbsoluteFormTarget(url) : OriginFormTarget(url);
        const auto now = static_cast<std::int64_t>(std::time(nullptr));
        connection_->Send(BuildGetRequest(url, target, cookies_.CookieHeaderFor(url, now)));
        connection_->HeadStarts();
        ReceiveBuffer buffer(*connection_, progress_);
        ReadResponse(buffer, context, sink);
        sink.Truncate();
    } catch (...) {
        EndExchange();
        throw;
    }
    EndExchange();
}

void HttpClient::EndExchange()
{
    if (connection_ && (!connection_->StillOpen() || AsksToClose(response_.Connection()) ||
                        AsksToClose(response_.ProxyConnection())))
        CloseConnection();
}

void HttpClient::CloseConnection()
{
    connection_.reset();
}

std::string GetTextDirect(const std::string& url)
{
    HttpClient client;
    return client.GetText(url);
}

} // namespace net
