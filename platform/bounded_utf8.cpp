#include "platform/bounded_utf8.h"

namespace platform {

namespace {

constexpr std::size_t kMostBytesPerInputByte = 3;

std::size_t Utf8Length(char32_t codePoint)
{
    if (codePoint < 0x80)
        return 1;
    if (codePoint < 0x800)
        return 2;
    return codePoint < 0x10000 ? 3 : 4;
}

bool IsContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

void AppendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

BoundedUtf8::BoundedUtf8(std::size_t inputBytes, std::size_t maxBytes) : maxBytes_(maxBytes)
{
    const std::size_t most = inputBytes > maxBytes / kMostBytesPerInputByte
                                 ? maxBytes
                                 : inputBytes * kMostBytesPerInputByte;
    text_.reserve(most);
}

bool BoundedUtf8::Append(char32_t codePoint)
{
    if (full_ || Utf8Length(codePoint) > maxBytes_ - text_.size()) {
        full_ = true;
        return false;
    }
    AppendUtf8(text_, codePoint);
    return true;
}

bool BoundedUtf8::Append(std::string_view utf8)
{
    if (full_)
        return false;
    const std::size_t room = maxBytes_ - text_.size();
    if (utf8.size() <= room) {
        text_.append(utf8);
        return true;
    }
    std::size_t fits = room;
    while (fits > 0 && IsContinuationByte(utf8[fits]))
        --fits;
    text_.append(utf8.substr(0, fits));
    full_ = true;
    return false;
}

} // namespace platform
