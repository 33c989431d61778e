#include "net/response_reader.h"

#include "net/ascii_text.h"
#include "net/body_decoding.h"
#include "net/body_reader.h"
#include "net/html_meta.h"
#include "net/http_error.h"
#include "net/media_type.h"
#include "net/memory_stream.h"
#include "net/response_head.h"
#include "net/time_limits.h"
#include "platform/socket_error.h"

#include <ctime>
#include <initializer_list>

namespace net {

namespace {

constexpr char kEmptyConnectReply[] = "HTTP/1.0 200 OK";

std::int64_t Now()
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

void TakeCookies(ResponseContext& context)
{
    for (const auto& value : context.response.HeaderValues("Set-Cookie"))
        context.cookies.Take(value, context.url, Now());
}

void ReadHeadAfterStatus(ReceiveBuffer& buffer, ResponseContext& context, std::string statusLine)
{
    context.response.StartStatus(std::move(statusLine));
    ReadHeaderLines(buffer, context.response);
    TakeCookies(context);
}

// The META elements of an HTML body: their headers replace those of the
// same name, their cookies go into the store, their charset decodes it.
void ApplyHtmlMeta(ResponseContext& context, const HtmlMeta& meta)
{
    for (const auto& entry : meta.httpEquiv) {
        context.response.ReplaceHeader(entry.name, entry.value);
        if (EqualsIgnoreAsciiCase(entry.name, "Set-Cookie"))
            context.cookies.Take(entry.value, context.url, Now());
    }
    context.response.UpdateFromHeaders();
    if (!meta.charset.empty())
        context.response.SetCharSet(meta.charset);
}

// Passes the bytes on and reads their META elements on the way: the sink
// need not be readable, and the body is not held a second time.
class MetaScanningSink : public ByteSink {
public:
    explicit MetaScanningSink(ByteSink& sink) : sink_(sink) {}

    HtmlMeta Finish() { return scanner_.Finish(); }

    void Write(std::string_view bytes) override
    {
        sink_.Write(bytes);
        scanner_.Feed(bytes);
    }
    void Reserve(std::size_t moreBytes) override { sink_.Reserve(moreBytes); }
    void Truncate() override { sink_.Truncate(); }

private:
    ByteSink& sink_;
    HtmlMetaScanner scanner_;
};

// What an HTML body says is taken once it is all here. The head's type
// decides: a trailer may not change how the body is to be taken.
void ReadBodyInto(ReceiveBuffer& buffer, ResponseContext& context, ByteSink& sink)
{
    buffer.BodyStarts();
    if (!IsHtmlMediaType(MediaTypeOf(context.response.ContentType()))) {
        ReadBody(buffer, context.response, context.progress, sink);
        return;
    }
    MetaScanningSink scanning(sink);
    ReadBody(buffer, context.response, context.progress, scanning);
    ApplyHtmlMeta(context, scanning.Finish());
}

bool IsKnownAuthScheme(std::string_view challenge)
{
    const std::string_view scheme = challenge.substr(0, challenge.find_first_of(" ,"));
    for (const char* known : {"Basic", "Digest", "NTLM", "Negotiate"}) {
        if (EqualsIgnoreAsciiCase(scheme, known))
            return true;
    }
    return false;
}

// A 401 reply to a URL with a password, naming a scheme the client knows.
bool IsAcceptedUnauthorized(const ResponseContext& context)
{
    if (TrimAscii(context.url.password).empty())
        return false;
    for (const auto& challenge : context.response.HeaderValues("WWW-Authenticate")) {
        if (IsKnownAuthScheme(TrimAscii(challenge)))
            return true;
    }
    return false;
}

[[noreturn]] void FailWithStatus(ReceiveBuffer& buffer, ResponseContext& context)
{
    const std::int32_t code = context.response.ResponseCode();
    MemoryStream scratch;
    const bool redirect = code >= 300 && code < 400;
    try {
        if (ResponseHasBody(context.response) &&
            (!redirect || buffer.DataWithin(context.redirectBodyWaitMs)))
            ReadBodyInto(buffer, context, scratch);
    } catch (const HttpError&) {
        // A body cut short by a close, a stall or its size: the status line
        // stays the message, with what arrived of the body.
    } catch (const platform::SocketError&) {
    }
    throw HttpStatusError(context.response.ResponseText(), code,
                          DecodeBody(scratch.Bytes(), context.response));
}

void ReadResponseHead(ReceiveBuffer& buffer, ResponseContext& context)
{
    for (int interim = 0;; ++interim) {
        ReadHeadAfterStatus(buffer, context, ReadStatusLine(buffer));
        if (context.response.ResponseCode() != 100)
            break;
        // A peer could send interim replies without end.
        if (interim == kMaxInterimReplies)
            throw HttpError(kTooManyInterimReplies);
    }
}

void ReadResponseBody(ReceiveBuffer& buffer, ResponseContext& context, ByteSink& sink)
{
    const std::int32_t code = context.response.ResponseCode();
    if (code >= 200 && code < 300) {
        if (code != 204)
            ReadBodyInto(buffer, context, sink);
        return;
    }
    if (code == 401 && IsAcceptedUnauthorized(context)) {
        ReadBodyInto(buffer, context, sink);
        return;
    }
    FailWithStatus(buffer, context);
}

} // namespace

void ReadConnectReply(ReceiveBuffer& buffer, ResponseContext& context)
{
    std::string statusLine = ReadStatusLine(buffer);
    if (statusLine.empty()) {
        context.response.StartStatus(kEmptyConnectReply);
        context.response.SetConnection("close");
        return;
    }
    ReadHeadAfterStatus(buffer, context, std::move(statusLine));
    const std::int32_t code = context.response.ResponseCode();
    if (code < 200 || code >= 300)
        FailWithStatus(buffer, context);
}

void ReadResponse(ReceiveBuffer& buffer, ResponseContext& context, ByteSink& sink)
{
    ReadResponseHead(buffer, context);
    ReadResponseBody(buffer, context, sink);
}

} // namespace net
