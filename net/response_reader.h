#pragma once

#include "net/byte_sink.h"
#include "net/cookie_store.h"
#include "net/http_response.h"
#include "net/receive_buffer.h"
#include "net/url.h"
#include "net/work_progress.h"

namespace net {

// What reading a response works with besides its bytes.
struct ResponseContext {
    HttpResponse& response;
    CookieStore& cookies;
    const Url& url;
    WorkProgress& progress;
    // How long a redirect's body may take to start arriving before it is
    // left unread.
    int redirectBodyWaitMs = 5000;
};

// The proxy's reply to CONNECT. An empty line stands for "HTTP/1.0 200 OK"
// with "Connection" set to "close". A status other than 2xx fails as in
// ReadResponse; a 2xx status returns with the body left unread.
void ReadConnectReply(ReceiveBuffer& buffer, ResponseContext& context);

// The status line and headers, again after each interim 100 reply, with the
// "Set-Cookie" headers going into the store; then the decision by the
// status: a 2xx body (none for 204), or that of the one acceptable 401
// reply, goes into the sink. Any other status reads the body into a scratch
// buffer and throws HttpStatusError with the status line, the code and the
// decoded body.
void ReadResponse(ReceiveBuffer& buffer, ResponseContext& context, ByteSink& sink);

} // namespace net
