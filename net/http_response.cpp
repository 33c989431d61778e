#include "net/http_response.h"

#include "net/ascii_text.h"
#include "net/media_type.h"

#include <algorithm>
#include <limits>

namespace net {

namespace {

bool IsDecimal(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A decimal number that fits; none otherwise.
std::optional<std::int64_t> ParseDecimal(std::string_view text, std::int64_t maximum)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    if (!IsDecimal(text))
        return std::nullopt;
    std::int64_t value = 0;
    for (const char digit : text) {
        const int d = digit - '0';
        if (value > (maximum - d) / 10)
            return std::nullopt;
        value = value * 10 + d;
    }
    return negative ? -value : value;
}

} // namespace

std::int32_t ParseResponseCode(std::string_view statusLine)
{
    const auto blank = statusLine.find(' ');
    if (blank == std::string_view::npos)
        return -1;
    std::string_view code = statusLine.substr(blank + 1);
    code = code.substr(0, code.find(' '));
    code = code.substr(0, code.find('.'));
    const auto value = ParseDecimal(code, std::numeric_limits<std::int32_t>::max());
    return value ? static_cast<std::int32_t>(*value) : -1;
}

std::optional<std::string> HttpResponse::HeaderValue(std::string_view name) const
{
    for (const auto& header : headers_) {
        if (EqualsIgnoreAsciiCase(header.name, name))
            return header.value;
    }
    return std::nullopt;
}

std::vector<std::string> HttpResponse::HeaderValues(std::string_view name) const
{
    std::vector<std::string> values;
    for (const auto& header : headers_) {
        if (EqualsIgnoreAsciiCase(header.name, name))
            values.push_back(header.value);
    }
    return values;
}

void HttpResponse::StartStatus(std::string statusLine)
{
    *this = HttpResponse();
    responseCode_ = ParseResponseCode(statusLine);
    responseText_ = std::move(statusLine);
}

void HttpResponse::AddHeader(std::string name, std::string value)
{
    headers_.push_back({std::move(name), std::move(value)});
}

void HttpResponse::ReplaceHeader(std::string name, std::string value)
{
    headers_.erase(std::remove_if(headers_.begin(), headers_.end(),
                                  [&name](const HeaderField& header) {
                                      return EqualsIgnoreAsciiCase(header.name, name);
                                  }),
                   headers_.end());
    AddHeader(std::move(name), std::move(value));
}

bool HttpResponse::ContinueLastHeader(std::string_view continuation)
{
    if (headers_.empty())
        return false;
    headers_.back().value.append(" ").append(continuation);
    return true;
}

void HttpResponse::UpdateFromHeaders()
{
    const auto valueOf = [this](std::string_view name) {
        return HeaderValue(name).value_or(std::string());
    };
    const auto length =
        ParseDecimal(valueOf("Content-Length"), std::numeric_limits<std::int64_t>::max());
    contentLength_ = length && *length >= 0 ? *length : -1;
    transferEncoding_ = valueOf("Transfer-Encoding");
    const std::string contentType = valueOf("Content-Type");
    contentType_ = WithoutMediaTypeParameter(contentType, "charset");
    charSet_ = CharSetOfContentType(contentType);
    connection_ = valueOf("Connection");
    proxyConnection_ = valueOf("Proxy-Connection");
    location_ = valueOf("Location");
}

} // namespace net
