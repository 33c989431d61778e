#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Text in memory is UTF-8; these convert at the edges. Malformed input
// becomes U+FFFD, never an error.
enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// How many UTF-16 code units the text takes.
std::size_t Utf16Length(std::string_view utf8);

// The longest prefix that takes at most maxUnits UTF-16 code units; a
// surrogate pair that does not fit is left out whole.
std::string Utf16Prefix(std::string_view utf8, std::size_t maxUnits);

// The system's ANSI code page (windows-1252 where the system has none).
// Characters it cannot represent become its default character "?".
std::string AnsiToUtf8(std::string_view bytes);
std::string Utf8ToAnsi(std::string_view utf8);

std::string EncodeText(std::string_view utf8, TextEncoding encoding);
std::string DecodeText(std::string_view bytes, TextEncoding encoding);

// EF BB BF, FF FE, FE FF, or nothing for the ANSI code page.
std::string_view ByteOrderMark(TextEncoding encoding);

} // namespace platform
