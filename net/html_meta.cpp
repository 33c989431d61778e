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

struct Attribute {
    std::string name;
    std::string value;
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
    std::vector<Attribute> Attributes()
    {
        std::vector<Attribute> attributes;
        for (;;) {
            while (pos_ < text_.size() && (IsSpace(text_[pos_]) || text_[pos_] == '/'))
                ++pos_;
            if (pos_ >= text_.size() || text_[pos_] == '>')
                return attributes;
            const std::size_t start = pos_;
            while (pos_ < text_.size() && !IsNameEnd(text_[pos_]))
                ++pos_;
            Attribute attribute{ToLowerAscii(text_.substr(start, pos_ - start)), {}};
            SkipSpaces();
            if (pos_ < text_.size() && text_[pos_] == '=') {
                ++pos_;
                SkipSpaces();
                attribute.value = BytesAsAsciiText(Value());
            }
            attributes.push_back(std::move(attribute));
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
        std::optional<std::string> httpEquiv;
        std::string content;
        for (auto& attribute : scanner.Attributes()) {
            if (attribute.name == "http-equiv")
                httpEquiv = std::string(TrimAscii(attribute.value));
            else if (attribute.name == "content")
                content = std::string(TrimAscii(attribute.value));
            else if (attribute.name == "charset" && meta.charset.empty())
                meta.charset = std::string(TrimAscii(attribute.value));
        }
        if (httpEquiv && !httpEquiv->empty() && meta.httpEquiv.size() < kMaxHeaderLines)
            meta.httpEquiv.push_back({*httpEquiv, content});
    }
    return meta;
}

} // namespace net
