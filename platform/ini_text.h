#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// INI text as the profile functions see it: lines ending in LF or CR LF;
// "[name]" lines open sections; "key=value" lines inside a section; lines
// starting with ";" are comments. Section and key names compare without
// regard to letter case or the blanks around them; only the first section of
// a name and the first line of a key count.

// The key's value without the blanks around it and without one pair of
// matching double or single quotes enclosing it; nothing when the section or
// the key is missing.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// The text with the key set to the value. An existing key line is replaced
// where it stands; a new key goes after the last key line of its section (or
// right after the section's header); a missing section is added at the end.
// Lines added end in CR LF; every other line stays byte for byte.
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

} // namespace platform
