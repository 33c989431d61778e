#pragma once

#include <string>
#include <string_view>

namespace net {

// Protocol text is ASCII: these compare and trim it without any locale.

// Blanks, tabs and other control characters at both ends taken off.
std::string_view TrimAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreAsciiCase(std::string_view text, std::string_view prefix);
bool EndsWithIgnoreAsciiCase(std::string_view text, std::string_view suffix);

// Received protocol bytes as text: each byte of 0x80 or above becomes U+FFFD.
std::string BytesAsAsciiText(std::string_view bytes);
// Text to be sent as 7-bit ASCII: each UTF-16 code unit outside it becomes "?".
std::string ToSevenBitAscii(std::string_view utf8);

} // namespace net
