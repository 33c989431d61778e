#include "net/html_meta.h"

#include "net/ascii_text.h"

#include <optional>

namespace net {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool IsNameEnd(char c)
{
    return IsSpace(c) || c == '=' || c == '>' || c == '/';
}

// The attributes of a META element that say anything to the client; the
// others are passed over without being kept.
struct MetaAttributes {
    std::optional<std::string> httpEquiv;
    std::string content;
    std::optional<std::string> charset;
};

class TagScanner {
public:
    explicit TagScanner(std::string_view document) : text_(document) {}

    // The tag name after the next "<", in lower case; none at the end.
    std::optional<std::string> NextTag()
    {
        for (;;) {
            const auto open = text_.find('<', pos_);
            if (open == std::string_view::npos)
                return std::nullopt;
            pos_ = open + 1;
            if (text_.substr(pos_, 3) == "!--") {
                const auto close = text_.find("-->", pos_ + 3);
                pos_ = close == std::string_view::npos ? text_.size() : close + 3;
                continue;
            }
            const std::size_t start = pos_;
            if (pos_ < text_.size() && text_[pos_] == '/')
                ++pos_;
            while (pos_ < text_.size() && !IsNameEnd(text_[pos_]))
                ++pos_;
            return ToLowerAscii(text_.substr(start, pos_ - start));
        }
    }

    // The attributes of the tag whose name was just read, up to its ">".
    MetaAttributes Attributes()
    {
        MetaAttributes attributes;
        for (;;) {
            while (pos_ < text_.size() && (IsSpace(text_[pos_]) || text_[pos_] == '/'))
                ++pos_;
            if (pos_ >= text_.size() || text_[pos_] == '>')
                return attributes;
            const std::size_t start = pos_;
            while (pos_ < text_.size() && !IsNameEnd(text_[pos_]))
                ++pos_;
            const std::string_view name = text_.substr(start, pos_ - start);
            SkipSpaces();
            std::string_view value;
            if (pos_ < text_.size() && text_[pos_] == '=') {
                ++pos_;
                SkipSpaces();
                value = Value();
            }
            if (EqualsIgnoreAsciiCase(name, "http-equiv"))
                attributes.httpEquiv = std::string(TrimAscii(BytesAsAsciiText(value)));
            else if (EqualsIgnoreAsciiCase(name, "content"))
                attributes.content = std::string(TrimAscii(BytesAsAsciiText(value)));
            else if (EqualsIgnoreAsciiCase(name, "charset") && !attributes.charset)
                attributes.charset = std::string(TrimAscii(BytesAsAsciiText(value)));
        }
    }

private:
    void SkipSpaces()
    {
        while (pos_ < text_.size() && IsSpace(text_[pos_]))
            ++pos_;
    }

    std::string_view Value()
    {
        if (pos_ < text_.size() && (text_[pos_] == '"' || text_[pos_] == '\'')) {
            const char quote = text_[pos_++];
            const auto close = text_.find(quote, pos_);
            const std::size_t end = close == std::string_view::npos ? text_.size() : close;
            const std::string_view value = text_.substr(pos_, end - pos_);
            pos_ = end == text_.size() ? end : end + 1;
            return value;
        }
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !IsSpace(text_[pos_]) && text_[pos_] != '>')
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

HtmlMeta ScanHtmlMeta(std::string_view document)
{
    HtmlMeta meta;
    TagScanner scanner(document);
    while (const auto tag = scanner.NextTag()) {
        if (*tag == "/head" || *tag == "body")
            break;
        if (*tag != "meta")
            continue;
        MetaAttributes attributes = scanner.Attributes();
        if (attributes.charset && meta.charset.empty())
            meta.charset = std::move(*attributes.charset);
        if (attributes.httpEquiv && !attributes.httpEquiv->empty() &&
            meta.httpEquiv.size() < kMaxHeaderLines)
            meta.httpEquiv.push_back(
                {std::move(*attributes.httpEquiv), std::move(attributes.content)});
    }
    return meta;
}

} // namespace net
