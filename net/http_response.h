#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

// The most header lines one head (or one set of trailers, or the META
// elements of one body) may bring.
inline constexpr std::size_t kMaxHeaderLines = 255;

struct HeaderField {
    std::string name;
    std::string value;
};

// The record of the response being read. It is cleared at every status
// line, so an interim reply leaves nothing behind.
class HttpResponse {
public:
    // The status line as received, without its line end.
    const std::string& ResponseText() const { return responseText_; }
    // The number after the status line's first blank; -1 when there is none.
    std::int32_t ResponseCode() const { return responseCode_; }
    // In the order received; names as sent, values trimmed.
    const std::vector<HeaderField>& Headers() const { return headers_; }
    // The value of the first header of that name, compared without regard
    // to case; none when absent.
    std::optional<std::string> HeaderValue(std::string_view name) const;
    // The values of every header of that name.
    std::vector<std::string> HeaderValues(std::string_view name) const;

    // -1 when absent or not a number; a negative value counts as absent.
    std::int64_t ContentLength() const { return contentLength_; }
    const std::string& TransferEncoding() const { return transferEncoding_; }
    // "Content-Type" with its "charset" parameter taken out.
    const std::string& ContentType() const { return contentType_; }
    // The character set that decodes the body.
    const std::string& CharSet() const { return charSet_; }
    const std::string& Connection() const { return connection_; }
    const std::string& ProxyConnection() const { return proxyConnection_; }
    const std::string& Location() const { return location_; }

    // Clears the record and takes a new status line.
    void StartStatus(std::string statusLine);
    void AddHeader(std::string name, std::string value);
    // Removes the headers of that name and adds this one.
    void ReplaceHeader(std::string name, std::string value);
    // Joins a continuation line to the last header's value with one blank;
    // false when there is no header yet.
    bool ContinueLastHeader(std::string_view continuation);
    // Derives the fields above from the headers; after every change of them.
    void UpdateFromHeaders();
    void SetCharSet(std::string charSet) { charSet_ = std::move(charSet); }
    void SetConnection(std::string connection) { connection_ = std::move(connection); }

private:
    std::string responseText_;
    std::int32_t responseCode_ = -1;
    std::vector<HeaderField> headers_;
    std::int64_t contentLength_ = -1;
    std::string transferEncoding_;
    std::string contentType_;
    std::string charSet_;
    std::string connection_;
    std::string proxyConnection_;
    std::string location_;
};

// The text after the status line's first blank up to the next one, cut at a
// "." when it holds one, as a decimal number; -1 when that is not one.
std::int32_t ParseResponseCode(std::string_view statusLine);

} // namespace net
