#include "platform/posix/kioslaverc.h"

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/posix/config_folder.h"
#include "platform/posix/qt_lock_file.h"
#include "platform/text_case.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

constexpr std::string_view kGroupHeader = "[Proxy Settings]";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// KDE's own writers hold the lock for milliseconds; a lock held longer than
// this is somebody else's trouble, not a reason to hang.
constexpr std::chrono::milliseconds kLockPatience{3000};

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

// New lines end as the file's first line does.
std::string_view NewLineOf(std::string_view text)
{
    const std::size_t end = text.find('\n');
    return end != std::string_view::npos && end > 0 && text[end - 1] == '\r' ? "\r\n" : "\n";
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

struct Line {
    std::string text;
    bool inGroup = false; // in a [Proxy Settings] group, its header included
    bool header = false;
    std::string key;
};

std::vector<Line> SplitLines(std::string_view text)
{
    std::vector<Line> lines;
    bool inGroup = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        Line line;
        line.text = text.substr(0, length);
        const std::string_view trimmed = Trimmed(line.text);
        line.header = !trimmed.empty() && trimmed.front() == '[';
        if (line.header)
            inGroup = trimmed == kGroupHeader;
        line.inGroup = inGroup;
        line.key = KeyOf(line.text);
        lines.push_back(std::move(line));
        text.remove_prefix(length);
    }
    return lines;
}

// The mark goes before the first line, not into it: KConfig reads the
// header after it.
std::string_view ByteOrderMarkOf(std::string_view text)
{
    return text.substr(
        0, text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0);
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Where a chain of symbolic links ends, whether a file is there or not.
std::string LinkTarget(std::string path)
{
    // As many links as the system itself follows.
    for (int links = 0; links < 40; ++links) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        char target[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length < 0)
            throw FileError("Cannot open file \"" + path + "\". " + std::strerror(errno));
        const std::string text(target, static_cast<std::size_t>(length));
        path = text.front() == '/' ? text : FolderOf(path) + "/" + text;
    }
    throw FileError("Cannot open file \"" + path + "\". " + std::strerror(ELOOP));
}

std::optional<std::string> RealPath(const std::string& path)
{
    char* real = realpath(path.c_str(), nullptr);
    if (!real)
        return std::nullopt;
    std::string result(real);
    std::free(real);
    return result;
}

// KConfig's lock: the file's canonical path, or its folder's for a file yet
// to come, and ".lock".
std::string LockPathOf(const std::string& file)
{
    if (const std::optional<std::string> real = RealPath(file))
        return *real + ".lock";
    const std::optional<std::string> folder = RealPath(FolderOf(file));
    if (!folder)
        return file + ".lock";
    return (*folder == "/" ? "" : *folder) + file.substr(file.find_last_of('/')) + ".lock";
}

} // namespace

KioslavercEntries ReadKioslavercValues(std::string_view text, const std::vector<std::string>& keys)
{
    KioslavercEntries values;
    for (const std::string& key : keys)
        values.emplace_back(key, std::nullopt);
    for (const Line& line : SplitLines(text.substr(ByteOrderMarkOf(text).size()))) {
        if (!line.inGroup || line.key.empty())
            continue;
        const std::string_view trimmed = Trimmed(line.text);
        for (auto& [key, value] : values) {
            if (key == line.key)
                value = std::string(Trimmed(trimmed.substr(trimmed.find('=') + 1)));
        }
    }
    return values;
}

std::string RewriteKioslaverc(std::string_view text, const KioslavercEntries& entries)
{
    const std::string_view mark = ByteOrderMarkOf(text);
    const std::string newline(NewLineOf(text));
    std::vector<bool> present(entries.size(), false);
    std::vector<std::string> lines;
    // After the last key of the last group, or its header.
    std::optional<std::size_t> groupEnd;
    for (Line& line : SplitLines(text.substr(mark.size()))) {
        bool removed = false;
        for (std::size_t e = 0; line.inGroup && e < entries.size(); ++e) {
            if (line.key != entries[e].first)
                continue;
            // KConfig lets the last of repeated groups win, so every copy is set.
            present[e] = true;
            removed = !entries[e].second;
            if (entries[e].second)
                line.text =
                    line.key + "=" + *entries[e].second + std::string(LineEnding(line.text));
        }
        if (removed)
            continue;
        lines.push_back(std::move(line.text));
        if (line.inGroup && (line.header || !line.key.empty()))
            groupEnd = lines.size();
    }

    std::vector<std::string> added;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        if (!present[e] && entries[e].second)
            added.push_back(entries[e].first + "=" + *entries[e].second + newline);
    }
    if (!added.empty()) {
        if (!groupEnd) {
            added.insert(added.begin(), std::string(kGroupHeader) + newline);
            if (!lines.empty())
                added.insert(added.begin(), newline);
            groupEnd = lines.size();
        }
        if (*groupEnd > 0 && LineEnding(lines[*groupEnd - 1]).empty())
            lines[*groupEnd - 1] += newline;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*groupEnd), added.begin(),
                     added.end());
    }

    std::string result(mark);
    for (const std::string& line : lines)
        result += line;
    return result;
}

std::string KioslavercPath()
{
    return ConfigFolder() + "/kioslaverc";
}

bool KioslavercInUse()
{
    // A dotfile manager's link counts before its target is there.
    struct stat st {};
    if (lstat(KioslavercPath().c_str(), &st) == 0 && !S_ISDIR(st.st_mode))
        return true;
    // Other desktops never read the file: no need to leave one in their homes.
    const std::string desktop = EnvironmentValue("XDG_CURRENT_DESKTOP").value_or("");
    return FoldCase(desktop).find("kde") != std::string::npos;
}

std::string ReadKioslaverc()
{
    const std::string path = KioslavercPath();
    return FileExists(path) ? ReadWholeFile(path) : std::string();
}

void UpdateKioslaverc(const KioslavercEntries& entries)
{
    // Renaming over a dotfile manager's link would cut it off from its
    // target: the target is what gets replaced.
    const std::string file = LinkTarget(KioslavercPath());
    const posix::QtLockFile lock(LockPathOf(file), kLockPatience);
    const std::string before = FileExists(file) ? ReadWholeFile(file) : std::string();
    const std::string after = RewriteKioslaverc(before, entries);
    if (after != before)
        ReplaceFileContent(file, after);
}

} // namespace platform
