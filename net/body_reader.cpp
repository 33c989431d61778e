#include "net/body_reader.h"

#include "net/ascii_text.h"
#include "net/error_texts.h"
#include "net/http_error.h"
#include "net/media_type.h"
#include "net/response_head.h"

#include <algorithm>
#include <optional>
#include <string>

namespace net {

namespace {

// Counts what goes into the sink against the limit.
class BodyWriter {
public:
    explicit BodyWriter(ByteSink& sink) : sink_(sink) {}

    void Expect(std::uint64_t moreBytes)
    {
        if (moreBytes > kMaxBodyBytes - written_)
            throw HttpError(kBodyTooLarge);
    }

    void Write(std::string_view bytes)
    {
        Expect(bytes.size());
        sink_.Write(bytes);
        written_ += bytes.size();
    }

    void Reserve(std::size_t moreBytes) { sink_.Reserve(moreBytes); }

private:
    ByteSink& sink_;
    std::size_t written_ = 0;
};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Up to count bytes; false when the peer closed first.
bool ReadCount(ReceiveBuffer& buffer, BodyWriter& writer, std::uint64_t count)
{
    while (count > 0) {
        const std::string_view taken =
            buffer.Take(static_cast<std::size_t>(std::min<std::uint64_t>(count, SIZE_MAX)));
        if (taken.empty())
            return false;
        writer.Write(taken);
        count -= taken.size();
    }
    return true;
}

void ReadUntilClose(ReceiveBuffer& buffer, BodyWriter& writer)
{
    for (;;) {
        const std::string_view taken = buffer.Take(ReceiveBuffer::kReceiveBlock);
        if (taken.empty())
            return;
        writer.Write(taken);
    }
}

void RequireLine(ReceiveBuffer& buffer, std::optional<std::string>& line)
{
    line = buffer.ReadLine();
    if (!line)
        throw ConnectionClosedError();
}

void ReadChunked(ReceiveBuffer& buffer, HttpResponse& response, WorkProgress& progress,
                 BodyWriter& writer)
{
    std::optional<std::string> line;
    for (;;) {
        RequireLine(buffer, line);
        const std::size_t size = ParseChunkSize(*line);
        if (size == 0)
            break;
        writer.Expect(size);
        InWorkUnit(progress, WorkMode::Read, static_cast<std::int64_t>(size), [&] {
            if (!ReadCount(buffer, writer, size))
                throw ConnectionClosedError();
        });
        RequireLine(buffer, line);
    }
    ReadHeaderLines(buffer, response);
}

// Takes bytes up to and including the first LF, or up to the close.
void ReadRestOfLine(ReceiveBuffer& buffer, BodyWriter& writer)
{
    for (;;) {
        const std::string_view here = buffer.Buffered();
        const auto lf = here.find('\n');
        if (lf != std::string_view::npos) {
            writer.Write(buffer.Take(lf + 1));
            return;
        }
        if (!here.empty())
            writer.Write(buffer.Take(here.size()));
        if (!buffer.Fill())
            return;
    }
}

void ReadMultipart(ReceiveBuffer& buffer, const std::string& boundary, BodyWriter& writer)
{
    const std::string closing = "--" + boundary + "--";
    // The last bytes already written, for a closing boundary split between
    // two blocks.
    std::string tail;
    for (;;) {
        if (buffer.Buffered().empty() && !buffer.Fill())
            return;
        const std::string window = tail + std::string(buffer.Buffered());
        const auto found = window.find(closing);
        if (found != std::string::npos) {
            writer.Write(buffer.Take(found + closing.size() - tail.size()));
            ReadRestOfLine(buffer, writer);
            return;
        }
        const std::size_t kept = std::min(window.size(), closing.size() - 1);
        tail = window.substr(window.size() - kept);
        writer.Write(buffer.Take(buffer.Buffered().size()));
    }
}

} // namespace

bool ResponseHasBody(const HttpResponse& response)
{
    const std::int32_t code = response.ResponseCode();
    if ((code >= 100 && code < 200) || code == 204 || code == 304)
        return false;
    const bool chunked =
        ToLowerAscii(response.TransferEncoding()).find("chunked") != std::string::npos;
    return chunked || response.ContentLength() != 0;
}

std::size_t ParseChunkSize(std::string_view line)
{
    const std::string_view digits = TrimAscii(line.substr(0, line.find(';')));
    if (digits.empty())
        return 0;
    std::size_t size = 0;
    for (const char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return 0;
        if (size > (kMaxBodyBytes - static_cast<std::size_t>(digit)) / 16)
            throw HttpError(kBodyTooLarge);
        size = size * 16 + static_cast<std::size_t>(digit);
    }
    return size;
}

void ReadBody(ReceiveBuffer& buffer, HttpResponse& response, WorkProgress& progress, ByteSink& sink)
{
    if (!ResponseHasBody(response))
        return;
    BodyWriter writer(sink);
    if (ToLowerAscii(response.TransferEncoding()).find("chunked") != std::string::npos) {
        InWorkUnit(progress, WorkMode::Read, 0,
                   [&] { ReadChunked(buffer, response, progress, writer); });
        return;
    }
    const std::int64_t length = response.ContentLength();
    if (length >= 0) {
        writer.Expect(static_cast<std::uint64_t>(length));
        writer.Reserve(static_cast<std::size_t>(length));
        InWorkUnit(progress, WorkMode::Read, length,
                   [&] { ReadCount(buffer, writer, static_cast<std::uint64_t>(length)); });
        return;
    }
    const std::string mediaType = MediaTypeOf(response.ContentType());
    const auto boundary = MediaTypeParameter(response.ContentType(), "boundary");
    InWorkUnit(progress, WorkMode::Read, 0, [&] {
        if (IsMultipartMediaType(mediaType) && boundary)
            ReadMultipart(buffer, *boundary, writer);
        else
            ReadUntilClose(buffer, writer);
    });
}

} // namespace net
