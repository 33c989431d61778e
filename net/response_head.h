#pragma once

#include "net/http_response.h"
#include "net/receive_buffer.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace net {

// The next line as text: each byte of 0x80 or above becomes U+FFFD. None
// when the peer closes before the line is complete.
std::optional<std::string> ReadTextLine(ReceiveBuffer& buffer);

// Throws HttpError "Connection Closed Gracefully." when the peer closes
// before the line is complete.
std::string ReadStatusLine(ReceiveBuffer& buffer);

// Header lines up to the first empty one, added to the response. When the
// peer closes meanwhile, the complete lines read so far are kept. Throws
// HttpError when there are more than kMaxHeaderLines.
void ReadHeaderLines(ReceiveBuffer& buffer, HttpResponse& response);

// One header line: split at its first ":", name and value trimmed; a line
// that starts with a blank or a tab continues the header before it.
void AddHeaderLine(HttpResponse& response, std::string_view line);

} // namespace net
