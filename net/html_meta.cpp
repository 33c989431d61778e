#include "net/html_meta.h"

#include "net/ascii_text.h"

#include <algorithm>

namespace net {

namespace {

constexpr std::string_view kCommentOpening = "!--";
// Longer than any tag or attribute name that means something, so that a
// longer one cannot match.
constexpr std::size_t kTagNameBytes = 6;
constexpr std::size_t kAttributeNameBytes = 11;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool IsNameEnd(char c)
{
    return IsSpace(c) || c == '=' || c == '>' || c == '/';
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

void AppendUpTo(std::string& text, char c, std::size_t most)
{
    if (text.size() < most)
        text += c;
}

std::string ValueText(std::string_view value)
{
    return std::string(TrimAscii(BytesAsAsciiText(value)));
}

} // namespace

void HtmlMetaScanner::Feed(std::string_view piece)
{
    for (std::size_t i = 0; i < piece.size() && state_ != State::Done;) {
        // Text between tags is passed over at once.
        if (state_ == State::Text) {
            i = piece.find('<', i);
            if (i == std::string_view::npos)
                return;
        }
        if (Step(piece[i]))
            ++i;
    }
}

bool HtmlMetaScanner::Step(char c)
{
    switch (state_) {
    case State::Text:
        if (c == '<') {
            state_ = State::Open;
            openMatched_ = 0;
        }
        return true;
    case State::Open:
        if (c == kCommentOpening[openMatched_]) {
            if (++openMatched_ == kCommentOpening.size()) {
                state_ = State::Comment;
                commentDashes_ = 0;
            }
            return true;
        }
        // What matched of "!--" begins the tag's name; a "/" only ever
        // stands first in it.
        tagName_ = std::string(kCommentOpening.substr(0, openMatched_));
        state_ = State::TagName;
        if (openMatched_ == 0 && c == '/') {
            tagName_ = "/";
            return true;
        }
        return false;
    case State::Comment:
        if (c == '>' && commentDashes_ == 2)
            state_ = State::Text;
        else
            commentDashes_ = c == '-' ? std::min<std::size_t>(commentDashes_ + 1, 2) : 0;
        return true;
    case State::TagName:
        if (!IsNameEnd(c)) {
            AppendUpTo(tagName_, LowerAscii(c), kTagNameBytes);
            return true;
        }
        EndTagName();
        return state_ != State::AttributeGap;
    case State::AttributeGap:
        if (c == '>') {
            EndElement();
            state_ = State::Text;
        } else if (!IsSpace(c) && c != '/') {
            attributeName_.clear();
            state_ = State::AttributeName;
            return false;
        }
        return true;
    case State::AttributeName:
        if (!IsNameEnd(c)) {
            AppendUpTo(attributeName_, c, kAttributeNameBytes);
            return true;
        }
        EndAttributeName();
        return false;
    case State::AfterAttributeName:
        if (IsSpace(c))
            return true;
        if (c == '=') {
            state_ = State::BeforeValue;
            return true;
        }
        EndAttribute();
        return false;
    case State::BeforeValue:
        if (IsSpace(c))
            return true;
        if (c == '"' || c == '\'') {
            quote_ = c;
            state_ = State::QuotedValue;
            return true;
        }
        state_ = State::UnquotedValue;
        return false;
    case State::QuotedValue:
        if (c == quote_)
            EndAttribute();
        else if (attribute_ != Attribute::Other)
            AppendUpTo(value_, c, kMaxMetaValueBytes);
        return true;
    case State::UnquotedValue:
        if (IsSpace(c) || c == '>') {
            EndAttribute();
            return false;
        }
        if (attribute_ != Attribute::Other)
            AppendUpTo(value_, c, kMaxMetaValueBytes);
        return true;
    case State::Done:
        return true;
    }
    return true;
}

// The name ends at the character after it, which the element, if it goes
// on, reads again.
void HtmlMetaScanner::EndTagName()
{
    if (tagName_ == "/head" || tagName_ == "body") {
        state_ = State::Done;
    } else if (tagName_ == "meta") {
        element_ = Element();
        state_ = State::AttributeGap;
    } else {
        state_ = State::Text;
    }
}

void HtmlMetaScanner::EndAttributeName()
{
    if (EqualsIgnoreAsciiCase(attributeName_, "http-equiv"))
        attribute_ = Attribute::HttpEquiv;
    else if (EqualsIgnoreAsciiCase(attributeName_, "content"))
        attribute_ = Attribute::Content;
    else if (EqualsIgnoreAsciiCase(attributeName_, "charset"))
        attribute_ = Attribute::Charset;
    else
        attribute_ = Attribute::Other;
    value_.clear();
    state_ = State::AfterAttributeName;
}

void HtmlMetaScanner::EndAttribute()
{
    switch (attribute_) {
    case Attribute::HttpEquiv:
        element_.httpEquiv = ValueText(value_);
        break;
    case Attribute::Content:
        element_.content = ValueText(value_);
        break;
    case Attribute::Charset:
        if (!element_.charset)
            element_.charset = ValueText(value_);
        break;
    case Attribute::Other:
        break;
    }
    value_.clear();
    state_ = State::AttributeGap;
}

void HtmlMetaScanner::EndElement()
{
    if (element_.charset && meta_.charset.empty())
        meta_.charset = std::move(*element_.charset);
    if (element_.httpEquiv && !element_.httpEquiv->empty() &&
        meta_.httpEquiv.size() < kMaxHeaderLines)
        meta_.httpEquiv.push_back({std::move(*element_.httpEquiv), std::move(element_.content)});
    element_ = Element();
}

HtmlMeta HtmlMetaScanner::Finish()
{
    // A document that ends inside a META element ends the element there.
    switch (state_) {
    case State::AttributeName:
        EndAttributeName();
        [[fallthrough]];
    case State::AfterAttributeName:
    case State::BeforeValue:
    case State::QuotedValue:
    case State::UnquotedValue:
        EndAttribute();
        EndElement();
        break;
    case State::AttributeGap:
        EndElement();
        break;
    default:
        break;
    }
    state_ = State::Done;
    return std::move(meta_);
}

HtmlMeta ScanHtmlMeta(std::string_view document)
{
    HtmlMetaScanner scanner;
    scanner.Feed(document);
    return scanner.Finish();
}

} // namespace net
