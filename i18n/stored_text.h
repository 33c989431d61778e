#pragma once

#include <string>
#include <string_view>

namespace i18n {

// Stored translation text is UTF-16LE. Anything else is refused with an
// ELanguageError naming what is wrong and where, rather than read as
// replacement characters: a table that decodes wrongly would show garbage in
// every window.
std::string DecodeStoredText(std::string_view utf16le, std::string_view what);

// UTF-8 to the stored form, without byte-order mark.
std::string EncodeStoredText(std::u16string_view text);

} // namespace i18n
