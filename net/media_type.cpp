#include "net/media_type.h"

#include "net/ascii_text.h"

#include <vector>

namespace net {

namespace {

// The value cut at each ";" outside quotes.
std::vector<std::string_view> Segments(std::string_view value)
{
    std::vector<std::string_view> segments;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '"')
            quoted = !quoted;
        else if (value[i] == ';' && !quoted) {
            segments.push_back(value.substr(start, i - start));
            start = i + 1;
        }
    }
    segments.push_back(value.substr(start));
    return segments;
}

std::string_view ParameterName(std::string_view segment)
{
    return TrimAscii(segment.substr(0, segment.find('=')));
}

std::string Unquoted(std::string_view value)
{
    value = TrimAscii(value);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string_view SubtypeOf(std::string_view mediaType)
{
    const auto slash = mediaType.find('/');
    return slash == std::string_view::npos ? std::string_view() : mediaType.substr(slash + 1);
}

bool IsTextFamily(std::string_view mediaType)
{
    return mediaType.substr(0, mediaType.find('/')) == "text";
}

} // namespace

std::string MediaTypeOf(std::string_view contentType)
{
    return ToLowerAscii(TrimAscii(Segments(contentType).front()));
}

std::optional<std::string> MediaTypeParameter(std::string_view contentType, std::string_view name)
{
    const auto segments = Segments(contentType);
    for (std::size_t i = 1; i < segments.size(); ++i) {
        const auto equals = segments[i].find('=');
        if (equals != std::string_view::npos &&
            EqualsIgnoreAsciiCase(ParameterName(segments[i]), name))
            return Unquoted(segments[i].substr(equals + 1));
    }
    return std::nullopt;
}

std::string WithoutMediaTypeParameter(std::string_view contentType, std::string_view name)
{
    const auto segments = Segments(contentType);
    std::string kept(TrimAscii(segments.front()));
    for (std::size_t i = 1; i < segments.size(); ++i) {
        if (!EqualsIgnoreAsciiCase(ParameterName(segments[i]), name) &&
            !TrimAscii(segments[i]).empty())
            kept.append("; ").append(TrimAscii(segments[i]));
    }
    return kept;
}

std::string CharSetOfContentType(std::string_view contentType)
{
    if (auto charset = MediaTypeParameter(contentType, "charset"))
        return *charset;
    const std::string mediaType = MediaTypeOf(contentType);
    if (!IsTextFamily(mediaType))
        return std::string();
    const std::string_view subtype = SubtypeOf(mediaType);
    if (subtype == "xml" || subtype == "xml-external-parsed-entity" ||
        EndsWithIgnoreAsciiCase(subtype, "+xml"))
        return "us-ascii";
    return "ISO-8859-1";
}

bool IsHtmlMediaType(std::string_view mediaType)
{
    return mediaType == "text/html" || mediaType == "text/html-sandboxed" ||
           mediaType == "application/xhtml+xml";
}

bool IsXmlMediaType(std::string_view mediaType)
{
    if (mediaType == "application/xml" || mediaType == "application/xml-external-parsed-entity" ||
        mediaType == "application/xml-dtd")
        return true;
    return !IsTextFamily(mediaType) && mediaType.find('/') != std::string_view::npos &&
           EndsWithIgnoreAsciiCase(SubtypeOf(mediaType), "+xml");
}

bool IsMultipartMediaType(std::string_view mediaType)
{
    return StartsWithIgnoreAsciiCase(mediaType, "multipart/");
}

} // namespace net
