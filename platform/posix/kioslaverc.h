#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// A [Proxy Settings] key with its raw value text (what follows "=", as
// written); none: the key is absent / to be removed.
using KioslavercEntries = std::vector<std::pair<std::string, std::optional<std::string>>>;

// The values of the given keys in the [Proxy Settings] group as KConfig reads
// them (the last of repeated keys and groups wins); a key not there comes
// back with no value. Same order as `keys`. Blanks around a value are not
// part of it; escapes stay as written.
KioslavercEntries ReadKioslavercValues(std::string_view text, const std::vector<std::string>& keys);

// The text with each entry applied in the [Proxy Settings] group: a key with
// a value is set on every line of it in the group (every copy of the group),
// a missing one goes after the group's last key (the group is added at the
// end when missing); a key without a value loses every line of it in the
// group. New lines end as the file's first line does. Every other byte stays
// as it was, a leading byte-order mark included.
std::string RewriteKioslaverc(std::string_view text, const KioslavercEntries& entries);

// The user's file: ConfigFolder() + "/kioslaverc".
std::string KioslavercPath();

// KDE reads it: the file (or a link to it) exists, or XDG_CURRENT_DESKTOP
// names KDE (any letter case).
bool KioslavercInUse();

// What the file holds (through a symbolic link); empty when missing. Throws
// FileError.
std::string ReadKioslaverc();

// Applies the entries to the file under KConfig's own lock, through a
// symbolic link to it, keeping its permission bits; the file stays as it is
// when nothing changes. Throws FileError, also when KDE holds the lock for
// more than a few seconds.
void UpdateKioslaverc(const KioslavercEntries& entries);

} // namespace platform
