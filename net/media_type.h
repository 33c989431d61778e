#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace net {

// Pieces of a "Content-Type" value: "type/subtype" and ";"-separated
// parameters, of which a value may be quoted.

// "type/subtype" in lower case, trimmed.
std::string MediaTypeOf(std::string_view contentType);
// The parameter's value without its quotes; none when absent.
std::optional<std::string> MediaTypeParameter(std::string_view contentType, std::string_view name);
// The value with every parameter of that name taken out.
std::string WithoutMediaTypeParameter(std::string_view contentType, std::string_view name);

// The character set a "Content-Type" value names or implies: its "charset"
// parameter; else "us-ascii" for the XML text types and "ISO-8859-1" for
// the other text types; else empty.
std::string CharSetOfContentType(std::string_view contentType);

bool IsHtmlMediaType(std::string_view mediaType);
// The types whose character set comes from the body itself.
bool IsXmlMediaType(std::string_view mediaType);
bool IsMultipartMediaType(std::string_view mediaType);

} // namespace net
