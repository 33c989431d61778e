#include "sysproxy/applied_proxy_record.h"

#include "platform/files.h"

#include <vector>

namespace sysproxy {

namespace {

constexpr char kRecordFile[] = "proxyapplied.txt";
constexpr std::string_view kFormatLine = "Hopvane applied proxy 2";

// Tabs and line breaks separate fields and lines; a value may hold any byte.
std::string Escaped(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            escaped += "\\r";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string Unescaped(std::string_view text)
{
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        const char next = text[++i];
        plain += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return plain;
}

std::string ValueField(const platform::ProxyValue& value)
{
    return value ? "=" + Escaped(*value) : "-";
}

std::optional<platform::ProxyValue> ParseValueField(std::string_view field)
{
    if (field == "-")
        return platform::ProxyValue();
    if (field.empty() || field.front() != '=')
        return std::nullopt;
    return platform::ProxyValue(Unescaped(field.substr(1)));
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> pieces;
    for (;;) {
        const std::size_t end = text.find(separator);
        pieces.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            return pieces;
        text.remove_prefix(end + 1);
    }
}

} // namespace

std::string FormatAppliedProxy(const AppliedProxy& applied)
{
    std::string text = std::string(kFormatLine) + "\n";
    text += "proxy\t" + Escaped(applied.server) + "\n";
    text += "owner\t" + Escaped(applied.owner) + "\n";
    if (applied.snapshot) {
        for (const SnapshotValue& value : applied.snapshot->values) {
            text += "value\t" + Escaped(value.store) + "\t" + Escaped(value.key) + "\t" +
                    ValueField(value.before) + "\t" + ValueField(value.written) + "\n";
        }
    }
    return text;
}

AppliedProxy ParseAppliedProxy(std::string_view text)
{
    std::vector<std::string_view> lines = Split(text, '\n');
    for (std::string_view& line : lines) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
    }
    if (lines.front() != kFormatLine)
        return AppliedProxy{std::string(text), {}, std::nullopt};
    AppliedProxy applied{{}, {}, ProxySnapshot()};
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string_view> fields = Split(lines[i], '\t');
        if (fields.size() == 2 && fields[0] == "proxy") {
            applied.server = Unescaped(fields[1]);
        } else if (fields.size() == 2 && fields[0] == "owner") {
            applied.owner = Unescaped(fields[1]);
        } else if (fields.size() == 5 && fields[0] == "value") {
            const auto before = ParseValueField(fields[3]);
            const auto written = ParseValueField(fields[4]);
            // A line changed by hand says nothing reliable: it is left out.
            if (before && written)
                applied.snapshot->values.push_back(
                    {Unescaped(fields[1]), Unescaped(fields[2]), *before, *written});
        }
    }
    return applied;
}

AppliedProxyRecord::AppliedProxyRecord(std::string dataFolder)
    : path_(std::move(dataFolder) + kRecordFile)
{
}

void AppliedProxyRecord::Write(const AppliedProxy& applied) const
{
    try {
        platform::ReplaceFileContent(path_, FormatAppliedProxy(applied));
    } catch (const platform::FileError&) {
        // Without the note only a crash goes unnoticed; nothing else changes.
    }
}

void AppliedProxyRecord::Remove() const
{
    platform::RemoveFile(path_);
}

std::optional<AppliedProxy> AppliedProxyRecord::Read() const
{
    if (!platform::FileExists(path_))
        return std::nullopt;
    try {
        return ParseAppliedProxy(platform::ReadWholeFile(path_));
    } catch (const platform::FileError&) {
        return AppliedProxy{};
    }
}

} // namespace sysproxy
