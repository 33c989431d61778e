// Arbitrary INI text, with the section, key and value to look up and set in
// front of it, each ended by a NUL. A value set where the names make a
// well-formed line must be found again.

#include "fuzz/fuzz_target.h"
#include "platform/ini_text.h"

#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

constexpr std::string_view kBlanks = " \t\v\f\r";

std::optional<std::string_view> TakeField(std::string_view& input)
{
    const auto end = input.find('\0');
    if (end == std::string_view::npos)
        return std::nullopt;
    const std::string_view field = input.substr(0, end);
    input.remove_prefix(end + 1);
    return field;
}

bool IsTrimmed(std::string_view text)
{
    return !text.empty() && kBlanks.find(text.front()) == std::string_view::npos &&
           kBlanks.find(text.back()) == std::string_view::npos;
}

bool FitsOnLine(std::string_view text)
{
    return text.find_first_of("\r\n") == std::string_view::npos;
}

// Names that another line kind would claim (a section header, a comment),
// and values that lose their blanks or quotes when read, come back changed.
bool ReadsBackUnchanged(std::string_view section, std::string_view key, std::string_view value)
{
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return IsTrimmed(section) && FitsOnLine(section) && IsTrimmed(key) && FitsOnLine(key) &&
           key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[' &&
           FitsOnLine(value) && (value.empty() || IsTrimmed(value)) && !quoted;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto section = TakeField(input);
    const auto key = TakeField(input);
    const auto value = TakeField(input);
    if (!value)
        return 0;
    platform::FindIniValue(input, *section, *key);
    const std::string updated = platform::SetIniValue(input, *section, *key, *value);
    if (ReadsBackUnchanged(*section, *key, *value) &&
        platform::FindIniValue(updated, *section, *key) != *value)
        std::abort();
    return 0;
}
