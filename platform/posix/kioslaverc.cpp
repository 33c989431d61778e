#include "platform/posix/kioslaverc.h"

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/posix/config_folder.h"
#include "platform/text_case.h"

#include <utility>
#include <vector>

namespace platform {

namespace {

constexpr std::string_view kGroupHeader = "[Proxy Settings]";

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries EntriesFor(const std::optional<ProxyAddress>& proxy)
{
    if (!proxy)
        return {{"ProxyType", "0"}};
    // KDE separates the port with a blank, not a colon.
    const std::string url = "http://" + proxy->host + " " + std::to_string(proxy->port);
    return {{"ProxyType", "1"}, {"httpProxy", url}, {"httpsProxy", url}};
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        lines.emplace_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string_view LineEnding(std::string_view line)
{
    if (line.size() >= 2 && line.substr(line.size() - 2) == "\r\n")
        return "\r\n";
    if (!line.empty() && line.back() == '\n')
        return "\n";
    return {};
}

// The key of a "key=value" line; empty for headers, comments and blank lines.
std::string_view KeyOf(std::string_view line)
{
    const std::string_view text = Trimmed(line);
    if (text.empty() || text.front() == '#' || text.front() == '[')
        return {};
    const std::size_t equals = text.find('=');
    return equals == std::string_view::npos ? std::string_view() : Trimmed(text.substr(0, equals));
}

} // namespace

std::string RewriteKioslaverc(std::string_view text, const std::optional<ProxyAddress>& proxy)
{
    std::vector<std::string> lines = SplitLines(text);
    const Entries entries = EntriesFor(proxy);
    std::vector<bool> present(entries.size(), false);
    bool inGroup = false;
    std::optional<std::size_t> groupEnd;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view trimmed = Trimmed(lines[i]);
        if (!trimmed.empty() && trimmed.front() == '[') {
            inGroup = trimmed == kGroupHeader;
            if (inGroup)
                groupEnd = i + 1;
            continue;
        }
        const std::string_view key = KeyOf(lines[i]);
        if (!inGroup || key.empty())
            continue;
        groupEnd = i + 1;
        // KConfig lets the last of repeated groups win, so every copy is set.
        for (std::size_t e = 0; e < entries.size(); ++e) {
            if (key == entries[e].first) {
                lines[i] =
                    entries[e].first + "=" + entries[e].second + std::string(LineEnding(lines[i]));
                present[e] = true;
            }
        }
    }

    std::vector<std::string> added;
    if (!groupEnd) {
        if (!lines.empty())
            added.emplace_back("\n");
        added.emplace_back(std::string(kGroupHeader) + "\n");
        groupEnd = lines.size();
    }
    for (std::size_t e = 0; e < entries.size(); ++e) {
        if (!present[e])
            added.push_back(entries[e].first + "=" + entries[e].second + "\n");
    }
    if (*groupEnd > 0 && LineEnding(lines[*groupEnd - 1]).empty() && !added.empty())
        lines[*groupEnd - 1] += "\n";
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*groupEnd), added.begin(),
                 added.end());

    std::string result;
    for (const std::string& line : lines)
        result += line;
    return result;
}

bool UpdateKioslaverc(const std::optional<ProxyAddress>& proxy)
{
    const std::string path = ConfigFolder() + "/kioslaverc";
    const bool exists = FileExists(path);
    // Other desktops never read the file: no need to leave one in their homes.
    const std::string desktop = EnvironmentValue("XDG_CURRENT_DESKTOP").value_or("");
    if (!exists && FoldCase(desktop).find("kde") == std::string::npos)
        return false;
    const std::string before = exists ? ReadWholeFile(path) : std::string();
    ReplaceFileContent(path, RewriteKioslaverc(before, proxy));
    return true;
}

} // namespace platform
