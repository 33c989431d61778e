#pragma once

#include "net/byte_sink.h"
#include "net/http_response.h"
#include "net/receive_buffer.h"
#include "net/work_progress.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace net {

// The most body bytes one response may bring, into whatever sink; a larger
// body in memory would exhaust it.
inline constexpr std::size_t kMaxBodyBytes = std::size_t{64} << 20;

// Whether the response carries a body to read: not for 1xx, 204 and 304,
// nor, unless chunked, for a "Content-Length" of 0.
bool ResponseHasBody(const HttpResponse& response);

// A chunk-size line cut at its first ";", trimmed and read as hexadecimal;
// 0 when it is not a number. Throws HttpError when the size is larger than
// kMaxBodyBytes.
std::size_t ParseChunkSize(std::string_view line);

// Reads the body the head announces into the sink, as one unit of work:
// chunked, of a known length (a close before its end ends it early),
// multipart up to its closing boundary, or up to the peer's close. Trailers
// of a chunked body join the response's headers. Throws HttpError when the
// body is larger than kMaxBodyBytes, and "Connection Closed Gracefully."
// when a chunked body breaks off.
void ReadBody(ReceiveBuffer& buffer, HttpResponse& response, WorkProgress& progress,
              ByteSink& sink);

} // namespace net
