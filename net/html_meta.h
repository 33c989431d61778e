#pragma once

#include "net/http_response.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

// What the "META" elements of an HTML document's head say about it.
struct HtmlMeta {
    // "HTTP-EQUIV" name and "CONTENT" value of each, in document order.
    std::vector<HeaderField> httpEquiv;
    // The first "CHARSET" attribute; empty when none.
    std::string charset;
};

// The longest attribute value kept, as long as the longest header line the
// client reads; the rest of a longer one is passed over.
inline constexpr std::size_t kMaxMetaValueBytes = 16384;

// Reads the elements up to the end of the head (or the start of the body)
// as the document arrives, a piece at a time; comments are skipped. Names
// are compared without regard to case. It holds no more of the document
// than the few attribute values that mean something, each up to
// kMaxMetaValueBytes, and takes at most kMaxHeaderLines entries.
class HtmlMetaScanner {
public:
    void Feed(std::string_view piece);
    // What the document said, once it has all been fed.
    HtmlMeta Finish();

private:
    enum class State {
        Text,
        Open,
        Comment,
        TagName,
        AttributeGap,
        AttributeName,
        AfterAttributeName,
        BeforeValue,
        QuotedValue,
        UnquotedValue,
        Done
    };
    enum class Attribute { Other, HttpEquiv, Content, Charset };
    // The attributes of the META element at hand that say anything.
    struct Element {
        std::optional<std::string> httpEquiv;
        std::string content;
        std::optional<std::string> charset;
    };

    // False when the character is to be read again in the new state.
    bool Step(char c);
    void EndTagName();
    void EndAttributeName();
    void EndAttribute();
    void EndElement();

    State state_ = State::Text;
    // How much of "!--" followed the "<".
    std::size_t openMatched_ = 0;
    std::size_t commentDashes_ = 0;
    std::string tagName_;
    std::string attributeName_;
    Attribute attribute_ = Attribute::Other;
    char quote_ = 0;
    std::string value_;
    Element element_;
    HtmlMeta meta_;
};

// The whole document at once.
HtmlMeta ScanHtmlMeta(std::string_view document);

} // namespace net
