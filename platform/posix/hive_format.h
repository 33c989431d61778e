#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::posix {

struct HiveValue {
    std::string name; // empty for the key's default value
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

// Names compare without regard to letter case and keep the case they were
// first created with.
struct HiveKey {
    std::string path;              // relative to HKEY_CURRENT_USER, "" for the hive's root
    std::vector<HiveValue> values; // in creation order

    const HiveValue* FindValue(std::string_view name) const;
    void SetValue(std::string_view name, std::uint32_t type, std::vector<std::uint8_t> data);
    // False when there was no such value.
    bool RemoveValue(std::string_view name);
};

// The current user's hive as its file holds it, keys in creation order.
struct Hive {
    std::vector<HiveKey> keys;

    // path as CanonicalKeyPath gives it.
    const HiveKey* FindKey(std::string_view path) const;
    // The key, created with its missing parents when it does not exist. The
    // reference lasts until the next key is created.
    HiveKey& CreateKey(std::string_view path);
};

// The key path without its one optional trailing backslash, or nothing when
// it begins with a backslash, has an empty segment or holds a line break or
// NUL. "" names the hive's root.
std::optional<std::string> CanonicalKeyPath(std::string_view subKey);

// Whether the name fits on a line of the hive file: no line break, no NUL.
bool IsValidValueName(std::string_view name);

// The registry editor's export format, as UTF-8 text with LF line ends.
// REG_SZ data that is not a plain NUL-terminated text, and every type but
// REG_DWORD of 4 bytes, is written as hex so that it reads back byte for byte.
std::string PrintHive(const Hive& hive);

// Reads what PrintHive writes, with CRLF or LF line ends and an optional UTF-8
// byte order mark. Lines it does not understand are skipped; a key header it
// does not understand (another root, a malformed path) is skipped with the
// values under it, so they cannot land in the key above.
Hive ParseHive(std::string_view text);

} // namespace platform::posix
