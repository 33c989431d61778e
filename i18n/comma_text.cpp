#include "i18n/comma_text.h"

#include <algorithm>

namespace i18n {

namespace {

void SkipBlanks(std::string_view text, std::size_t& at)
{
    while (at < text.size() && text[at] == ' ')
        ++at;
}

std::string QuotedItem(std::string_view text, std::size_t& at)
{
    std::string item;
    for (++at; at < text.size(); ++at) {
        if (text[at] != '"') {
            item += text[at];
        } else if (at + 1 < text.size() && text[at + 1] == '"') {
            item += '"';
            ++at;
        } else {
            ++at;
            break;
        }
    }
    // Anything between the closing quote and the comma belongs to no item.
    while (at < text.size() && text[at] != ',')
        ++at;
    return item;
}

std::string PlainItem(std::string_view text, std::size_t& at)
{
    const std::size_t comma = std::min(text.find(',', at), text.size());
    std::string_view item = text.substr(at, comma - at);
    while (!item.empty() && item.back() == ' ')
        item.remove_suffix(1);
    at = comma;
    return std::string(item);
}

} // namespace

std::vector<std::string> SplitCommaText(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (true) {
        SkipBlanks(text, at);
        lines.push_back(at < text.size() && text[at] == '"' ? QuotedItem(text, at)
                                                            : PlainItem(text, at));
        if (at >= text.size())
            break;
        ++at; // the comma
    }
    return lines;
}

} // namespace i18n
