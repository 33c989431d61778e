#include "net/response_head.h"

#include "net/ascii_text.h"
#include "net/error_texts.h"
#include "net/http_error.h"

namespace net {

std::optional<std::string> ReadTextLine(ReceiveBuffer& buffer)
{
    auto line = buffer.ReadLine();
    if (!line)
        return std::nullopt;
    return BytesAsAsciiText(*line);
}

std::string ReadStatusLine(ReceiveBuffer& buffer)
{
    auto line = ReadTextLine(buffer);
    if (!line)
        throw ConnectionClosedError();
    return *line;
}

void ReadHeaderLines(ReceiveBuffer& buffer, HttpResponse& response)
{
    for (std::size_t count = 0;; ++count) {
        const auto line = ReadTextLine(buffer);
        if (!line || line->empty())
            break;
        if (count == kMaxHeaderLines)
            throw HttpError(kTooManyHeaderLines);
        AddHeaderLine(response, *line);
    }
    response.UpdateFromHeaders();
}

void AddHeaderLine(HttpResponse& response, std::string_view line)
{
    if (!line.empty() && (line.front() == ' ' || line.front() == '\t') &&
        response.ContinueLastHeader(TrimAscii(line)))
        return;
    const auto colon = line.find(':');
    const std::string_view name = TrimAscii(line.substr(0, colon));
    const std::string_view value =
        colon == std::string_view::npos ? std::string_view() : TrimAscii(line.substr(colon + 1));
    response.AddHeader(std::string(name), std::string(value));
}

} // namespace net
