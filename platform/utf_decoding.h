#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Decodes one code point of UTF-8 and moves pos past it; a malformed
// sequence (overlong, a surrogate, cut off, beyond U+10FFFF) yields U+FFFD
// and costs one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

// UTF-8 and UTF-16 bytes as UTF-8 text of at most maxBytes, which stops
// before the first character that does not fit. What is malformed becomes
// U+FFFD: in UTF-8 each byte that starts no character, in UTF-16 a lone
// surrogate or an odd last byte.
std::string DecodeUtf8(std::string_view bytes, std::size_t maxBytes);
std::string DecodeUtf16(std::string_view bytes, bool bigEndian, std::size_t maxBytes);

} // namespace platform
