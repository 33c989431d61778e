#pragma once

#include "net/http_response.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace net {

// The character set an XML document names itself: its byte-order mark, else
// the encoding of its XML declaration, else "UTF-8".
std::string XmlCharSet(std::string_view document);

// The bytes as text in the named character set. An empty or unknown name
// decodes each byte as the character of the same number. The text stops
// before the first character that would take it past maxBytes.
std::string DecodeWithCharSet(std::string_view bytes, std::string_view charSet,
                              std::size_t maxBytes = SIZE_MAX);

// The body of the response as text, of at most kMaxBodyBytes like the body
// itself. For the XML types the character set comes from the body, and
// becomes the response's CharSet.
std::string DecodeBody(std::string_view body, HttpResponse& response);

} // namespace net
