#include "proxylist/list_format.h"

#include <array>

namespace proxylist {

namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix)
{
    return bytes.substr(0, prefix.size()) == prefix;
}

} // namespace

std::vector<std::string> SplitListText(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::string JoinListText(const std::vector<std::string>& lines)
{
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

DecodedListFile DecodeListFile(std::string_view bytes)
{
    using platform::TextEncoding;
    constexpr std::array<TextEncoding, 3> marked = {TextEncoding::Utf8, TextEncoding::Utf16LE,
                                                    TextEncoding::Utf16BE};
    for (TextEncoding encoding : marked) {
        const std::string_view mark = platform::ByteOrderMark(encoding);
        if (StartsWith(bytes, mark))
            return {encoding, platform::DecodeText(bytes.substr(mark.size()), encoding)};
    }
    return {TextEncoding::Ansi, platform::DecodeText(bytes, TextEncoding::Ansi)};
}

std::string EncodeListFile(std::string_view text, platform::TextEncoding encoding)
{
    std::string bytes(platform::ByteOrderMark(encoding));
    bytes += platform::EncodeText(text, encoding);
    return bytes;
}

} // namespace proxylist
