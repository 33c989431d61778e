#include "i18n/stored_text.h"

#include "i18n/language_error.h"
#include "platform/text_codec.h"
#include "platform/utf16_units.h"

namespace i18n {

std::string DecodeStoredText(std::string_view utf16le, std::string_view what)
{
    if (utf16le.size() % 2 != 0)
        throw ELanguageError(std::string(what) + " is not UTF-16 text: its length is odd.");
    std::u16string units(utf16le.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(utf16le[2 * i]) |
                                         static_cast<unsigned char>(utf16le[2 * i + 1]) << 8);
    }
    for (std::size_t i = 0; i < units.size(); ++i) {
        const bool paired = platform::IsHighSurrogate(units[i]) && i + 1 < units.size() &&
                            platform::IsLowSurrogate(units[i + 1]);
        if (paired) {
            ++i;
        } else if (platform::IsHighSurrogate(units[i]) || platform::IsLowSurrogate(units[i])) {
            throw ELanguageError(std::string(what) +
                                 " is not UTF-16 text: a lone surrogate at byte " +
                                 std::to_string(2 * i) + ".");
        }
    }
    return platform::Utf16ToUtf8(units);
}

std::string EncodeStoredText(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(2 * text.size());
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

} // namespace i18n
