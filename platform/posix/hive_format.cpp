#include "platform/posix/hive_format.h"

#include "platform/registry.h"
#include "platform/text_case.h"
#include "platform/text_codec.h"

#include <algorithm>

namespace platform::posix {

namespace {

constexpr std::string_view kSignature = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRootName = "HKEY_CURRENT_USER";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineBreakOrNul("\0\r\n", 3);
constexpr char kHexDigits[] = "0123456789abcdef";

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

// The text of REG_SZ data that a quoted string reproduces exactly: valid
// UTF-16LE, one terminating NUL, and no line break that would split the line.
std::optional<std::string> PlainText(const HiveValue& value)
{
    const auto& data = value.data;
    if (value.type != kRegSz || data.size() < 2 || data.size() % 2 != 0)
        return std::nullopt;
    std::u16string units;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2)
        units.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    if (units.back() != u'\0')
        return std::nullopt;
    units.pop_back();
    if (units.find_first_of(std::u16string_view(u"\0\r\n", 3)) != std::u16string::npos)
        return std::nullopt;
    std::string text = Utf16ToUtf8(units);
    // Lone surrogates come back as U+FFFD.
    if (Utf8ToUtf16(text) != units)
        return std::nullopt;
    return text;
}

std::string Quoted(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

std::string HexNumber(std::uint32_t number, int minDigits)
{
    std::string digits;
    for (; number != 0 || minDigits > 0; number >>= 4, --minDigits)
        digits.insert(digits.begin(), kHexDigits[number & 0xF]);
    return digits;
}

std::string PrintData(const HiveValue& value)
{
    if (const auto text = PlainText(value))
        return Quoted(*text);
    const auto& data = value.data;
    if (value.type == kRegDword && data.size() == 4) {
        std::uint32_t number = 0;
        for (auto byte = data.rbegin(); byte != data.rend(); ++byte)
            number = number << 8 | *byte;
        return "dword:" + HexNumber(number, 8);
    }
    std::string printed =
        value.type == kRegBinary ? "hex:" : "hex(" + HexNumber(value.type, 1) + "):";
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i > 0)
            printed += ',';
        printed += HexNumber(data[i], 2);
    }
    return printed;
}

// Takes a quoted text with \\ and \" escapes off the front of rest.
std::optional<std::string> TakeQuoted(std::string_view& rest)
{
    if (rest.empty() || rest[0] != '"')
        return std::nullopt;
    std::string text;
    for (std::size_t i = 1; i < rest.size(); ++i) {
        char c = rest[i];
        if (c == '"') {
            rest.remove_prefix(i + 1);
            return text;
        }
        if (c == '\\') {
            if (++i == rest.size() || (rest[i] != '\\' && rest[i] != '"'))
                return std::nullopt;
            c = rest[i];
        }
        text += c;
    }
    return std::nullopt;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::uint32_t> ParseHexNumber(std::string_view digits, std::size_t maxDigits)
{
    if (digits.empty() || digits.size() > maxDigits)
        return std::nullopt;
    std::uint32_t number = 0;
    for (const char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        number = number << 4 | static_cast<std::uint32_t>(digit);
    }
    return number;
}

// "xx,xx,...", or nothing at all for empty data.
std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view list)
{
    std::vector<std::uint8_t> bytes;
    if (Trim(list).empty())
        return bytes;
    for (;;) {
        const auto comma = list.find(',');
        const auto byte = ParseHexNumber(Trim(list.substr(0, comma)), 2);
        if (!byte)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(*byte));
        if (comma == std::string_view::npos)
            return bytes;
        list.remove_prefix(comma + 1);
    }
}

std::optional<HiveValue> ParseValueLine(std::string_view line)
{
    HiveValue value;
    if (!line.empty() && line[0] == '@') {
        line.remove_prefix(1);
    } else {
        auto name = TakeQuoted(line);
        if (!name || !IsValidValueName(*name))
            return std::nullopt;
        value.name = std::move(*name);
    }
    line = Trim(line);
    if (line.empty() || line[0] != '=')
        return std::nullopt;
    line = Trim(line.substr(1));

    std::optional<std::vector<std::uint8_t>> data;
    if (!line.empty() && line[0] == '"') {
        const auto text = TakeQuoted(line);
        if (!text || !line.empty())
            return std::nullopt;
        value.type = kRegSz;
        data = RegSzData(*text);
    } else if (StartsWithIgnoreCase(line, "dword:")) {
        const auto number = ParseHexNumber(line.substr(6), 8);
        if (!number)
            return std::nullopt;
        value.type = kRegDword;
        data = RegDwordData(*number);
    } else if (StartsWithIgnoreCase(line, "hex:")) {
        value.type = kRegBinary;
        data = ParseHexBytes(line.substr(4));
    } else if (StartsWithIgnoreCase(line, "hex(")) {
        const auto close = line.find("):");
        const auto type = close == std::string_view::npos
                              ? std::nullopt
                              : ParseHexNumber(line.substr(4, close - 4), 8);
        if (!type)
            return std::nullopt;
        value.type = *type;
        data = ParseHexBytes(line.substr(close + 2));
    }
    if (!data)
        return std::nullopt;
    value.data = std::move(*data);
    return value;
}

std::optional<std::string> ParseKeyHeader(std::string_view line)
{
    if (line.size() < 2 || line.back() != ']')
        return std::nullopt;
    const auto full = line.substr(1, line.size() - 2);
    if (!StartsWithIgnoreCase(full, kRootName))
        return std::nullopt;
    const auto rest = full.substr(kRootName.size());
    if (rest.empty())
        return std::string();
    if (rest[0] != '\\')
        return std::nullopt;
    return CanonicalKeyPath(rest.substr(1));
}

} // namespace

const HiveValue* HiveKey::FindValue(std::string_view name) const
{
    for (const auto& value : values) {
        if (EqualsIgnoreCase(value.name, name))
            return &value;
    }
    return nullptr;
}

void HiveKey::SetValue(std::string_view name, std::uint32_t type, std::vector<std::uint8_t> data)
{
    for (auto& value : values) {
        if (EqualsIgnoreCase(value.name, name)) {
            value.type = type;
            value.data = std::move(data);
            return;
        }
    }
    values.push_back(HiveValue{std::string(name), type, std::move(data)});
}

bool HiveKey::RemoveValue(std::string_view name)
{
    for (auto value = values.begin(); value != values.end(); ++value) {
        if (EqualsIgnoreCase(value->name, name)) {
            values.erase(value);
            return true;
        }
    }
    return false;
}

const HiveKey* Hive::FindKey(std::string_view path) const
{
    for (const auto& key : keys) {
        if (EqualsIgnoreCase(key.path, path))
            return &key;
    }
    return nullptr;
}

HiveKey& Hive::CreateKey(std::string_view path)
{
    // Level by level, so that an existing parent lends the new path its case.
    std::size_t index = 0;
    for (std::size_t start = 0;;) {
        const auto end = std::min(path.find('\\', start), path.size());
        if (const HiveKey* found = FindKey(path.substr(0, end))) {
            index = static_cast<std::size_t>(found - keys.data());
        } else {
            const std::string parent = start == 0 ? std::string() : keys[index].path + '\\';
            keys.push_back(HiveKey{parent + std::string(path.substr(start, end - start)), {}});
            index = keys.size() - 1;
        }
        if (end == path.size())
            return keys[index];
        start = end + 1;
    }
}

std::optional<std::string> CanonicalKeyPath(std::string_view subKey)
{
    if (!subKey.empty() && subKey.front() == '\\')
        return std::nullopt;
    if (!subKey.empty() && subKey.back() == '\\')
        subKey.remove_suffix(1);
    if (subKey.find_first_of(kLineBreakOrNul) != std::string_view::npos)
        return std::nullopt;
    if (!subKey.empty() && (subKey.back() == '\\' || subKey.find("\\\\") != std::string_view::npos))
        return std::nullopt;
    return std::string(subKey);
}

bool IsValidValueName(std::string_view name)
{
    return name.find_first_of(kLineBreakOrNul) == std::string_view::npos;
}

std::string PrintHive(const Hive& hive)
{
    std::string text = std::string(kSignature) + "\n\n";
    for (const auto& key : hive.keys) {
        text += "[" + std::string(kRootName) + (key.path.empty() ? "" : "\\" + key.path) + "]\n";
        for (const auto& value : key.values)
            text += (value.name.empty() ? "@" : Quoted(value.name)) + "=" + PrintData(value) + "\n";
        text += "\n";
    }
    return text;
}

Hive ParseHive(std::string_view text)
{
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    Hive hive;
    HiveKey* current = nullptr;
    while (!text.empty()) {
        const auto end = std::min(text.find('\n'), text.size());
        const auto line = Trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line[0] == '[') {
            const auto path = ParseKeyHeader(line);
            current = path ? &hive.CreateKey(*path) : nullptr;
        } else if (current) {
            if (auto value = ParseValueLine(line))
                current->SetValue(value->name, value->type, std::move(value->data));
        }
    }
    return hive;
}

} // namespace platform::posix
