#include "platform/ini_text.h"

#include "platform/text_case.h"

#include <vector>

namespace platform {

namespace {

constexpr std::string_view kBlanks = " \t\v\f\r";
constexpr std::string_view kLineEnd = "\r\n";

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0; // before the line end
    std::size_t next = 0;       // where the following line begins
};

std::vector<Line> SplitLines(std::string_view text)
{
    std::vector<Line> lines;
    for (std::size_t begin = 0; begin < text.size();) {
        Line line;
        line.begin = begin;
        const auto newline = text.find('\n', begin);
        if (newline == std::string_view::npos) {
            line.contentEnd = line.next = text.size();
        } else {
            line.next = newline + 1;
            line.contentEnd = newline > begin && text[newline - 1] == '\r' ? newline - 1 : newline;
        }
        lines.push_back(line);
        begin = line.next;
    }
    return lines;
}

std::string_view ContentOf(std::string_view text, const Line& line)
{
    return text.substr(line.begin, line.contentEnd - line.begin);
}

std::optional<std::string_view> SectionName(std::string_view content)
{
    const std::string_view line = Trimmed(content);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const auto close = line.rfind(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trimmed(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> KeyLineOf(std::string_view content)
{
    const std::string_view line = Trimmed(content);
    if (line.empty() || line.front() == ';')
        return std::nullopt;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return KeyLine{Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1))};
}

struct Location {
    std::optional<std::size_t> header;
    std::optional<std::size_t> keyLine;
    std::size_t lastKeyLine = 0; // the section's header while it has no keys
};

Location Locate(std::string_view text, const std::vector<Line>& lines, std::string_view section,
                std::string_view key)
{
    const std::string_view wantedSection = Trimmed(section);
    const std::string_view wantedKey = Trimmed(key);
    Location found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view content = ContentOf(text, lines[i]);
        if (const auto name = SectionName(content)) {
            if (found.header)
                break;
            if (EqualsIgnoreCase(*name, wantedSection)) {
                found.header = i;
                found.lastKeyLine = i;
            }
            continue;
        }
        if (!found.header)
            continue;
        if (const auto keyLine = KeyLineOf(content)) {
            found.lastKeyLine = i;
            if (!found.keyLine && EqualsIgnoreCase(keyLine->key, wantedKey))
                found.keyLine = i;
        }
    }
    return found;
}

std::string_view WithoutQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// POSITION is where a line begins, or the end of the text; a last line
// without a line end gets one first.
std::string WithLinesInserted(std::string_view text, std::size_t position, std::string_view added)
{
    std::string out(text.substr(0, position));
    if (!out.empty() && out.back() != '\n')
        out += kLineEnd;
    out += added;
    out += text.substr(position);
    return out;
}

} // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key)
{
    const std::vector<Line> lines = SplitLines(text);
    const Location found = Locate(text, lines, section, key);
    if (!found.keyLine)
        return std::nullopt;
    return std::string(WithoutQuotes(KeyLineOf(ContentOf(text, lines[*found.keyLine]))->value));
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value)
{
    const std::vector<Line> lines = SplitLines(text);
    const Location found = Locate(text, lines, section, key);
    if (found.keyLine) {
        const Line& line = lines[*found.keyLine];
        // The key keeps the spelling it has in the file.
        const std::string_view storedKey = KeyLineOf(ContentOf(text, line))->key;
        std::string out(text.substr(0, line.begin));
        out += storedKey;
        out += '=';
        out += value;
        out += text.substr(line.contentEnd);
        return out;
    }
    std::string keyLine =
        std::string(Trimmed(key)) + "=" + std::string(value) + std::string(kLineEnd);
    if (found.header)
        return WithLinesInserted(text, lines[found.lastKeyLine].next, keyLine);
    return WithLinesInserted(text, text.size(),
                             "[" + std::string(Trimmed(section)) + "]" + std::string(kLineEnd) +
                                 keyLine);
}

} // namespace platform
