#include "net/body_decoding.h"

#include "net/ascii_text.h"
#include "net/body_reader.h"
#include "net/charset_names.h"
#include "net/media_type.h"
#include "platform/bounded_utf8.h"
#include "platform/code_pages.h"

namespace net {

namespace {

struct ByteOrderMark {
    std::string_view bytes;
    const char* charSet;
};

// The four-byte marks first: FF FE also begins the UTF-32 one.
constexpr ByteOrderMark kByteOrderMarks[] = {
    {std::string_view("\xFF\xFE\x00\x00", 4), "UTF-32LE"},
    {std::string_view("\x00\x00\xFE\xFF", 4), "UTF-32BE"},
    {"\xEF\xBB\xBF", "UTF-8"},
    {"\xFF\xFE", "UTF-16LE"},
    {"\xFE\xFF", "UTF-16BE"},
};

std::string EachByteAsCharacter(std::string_view bytes, std::size_t maxBytes)
{
    platform::BoundedUtf8 text(bytes.size(), maxBytes);
    for (std::size_t i = 0; i < bytes.size() && !text.Full(); ++i)
        text.Append(char32_t{static_cast<unsigned char>(bytes[i])});
    return text.Take();
}

// The value of encoding="..." in a leading "<?xml ... ?>".
std::string DeclaredEncoding(std::string_view document)
{
    if (document.substr(0, 5) != "<?xml")
        return std::string();
    const std::string_view declaration = document.substr(0, document.find("?>"));
    const auto name = declaration.find("encoding");
    if (name == std::string_view::npos)
        return std::string();
    std::string_view rest = TrimAscii(declaration.substr(name + 8));
    if (rest.empty() || rest.front() != '=')
        return std::string();
    rest = TrimAscii(rest.substr(1));
    if (rest.empty() || (rest.front() != '"' && rest.front() != '\''))
        return std::string();
    const char quote = rest.front();
    rest.remove_prefix(1);
    const auto close = rest.find(quote);
    return close == std::string_view::npos ? std::string() : std::string(rest.substr(0, close));
}

} // namespace

std::string XmlCharSet(std::string_view document)
{
    for (const auto& mark : kByteOrderMarks) {
        if (document.substr(0, mark.bytes.size()) == mark.bytes)
            return mark.charSet;
    }
    std::string declared = DeclaredEncoding(document);
    return declared.empty() ? "UTF-8" : declared;
}

std::string DecodeWithCharSet(std::string_view bytes, std::string_view charSet,
                              std::size_t maxBytes)
{
    if (const auto codePage = CodePageOfCharSet(charSet)) {
        if (auto text = platform::DecodeCodePage(bytes, *codePage, maxBytes))
            return std::move(*text);
    }
    return EachByteAsCharacter(bytes, maxBytes);
}

std::string DecodeBody(std::string_view body, HttpResponse& response)
{
    if (IsXmlMediaType(MediaTypeOf(response.ContentType())))
        response.SetCharSet(XmlCharSet(body));
    return DecodeWithCharSet(body, response.CharSet(), kMaxBodyBytes);
}

} // namespace net
