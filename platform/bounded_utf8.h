#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The UTF-8 bytes of one code point, appended.
void AppendUtf8(std::string& out, char32_t codePoint);

// UTF-8 text that takes whole characters up to a number of bytes and no
// more: a decoded text never costs more than its limit, nor ends in half a
// character.
class BoundedUtf8 {
public:
    // Room is taken once for the most the input can become, each of its
    // bytes three at most: growing by doubling would hold two copies for a
    // moment, while room never written costs nothing.
    BoundedUtf8(std::size_t inputBytes, std::size_t maxBytes);

    // False, with nothing appended, once a character does not fit; the text
    // is full from then on.
    bool Append(char32_t codePoint);
    // Valid UTF-8, as many whole characters of it as fit.
    bool Append(std::string_view utf8);
    bool Full() const { return full_; }

    std::string Take() { return std::move(text_); }

private:
    std::string text_;
    std::size_t maxBytes_;
    bool full_ = false;
};

} // namespace platform
