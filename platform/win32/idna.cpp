#include "platform/idna.h"

#include "platform/win32/wide_text.h"

#include <windows.h>

#include <algorithm>

namespace platform {

namespace {

// Text that is not UTF-8 has no host name in it, rather than one with
// replacement characters.
std::optional<std::wstring> StrictlyToWide(std::string_view utf8)
{
    const auto length = static_cast<int>(utf8.size());
    const int size =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(), size);
    return wide;
}

} // namespace

std::optional<std::string> HostNameToAscii(std::string_view utf8Name)
{
    if (std::all_of(utf8Name.begin(), utf8Name.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(utf8Name);
    const auto wide = StrictlyToWide(utf8Name);
    if (!wide)
        return std::nullopt;
    // Without IDN_ALLOW_UNASSIGNED: a name with unassigned characters has no
    // ASCII form, on every platform alike.
    const auto length = static_cast<int>(wide->size());
    const int size = IdnToAscii(0, wide->data(), length, nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring ascii(static_cast<std::size_t>(size), L'\0');
    if (IdnToAscii(0, wide->data(), length, ascii.data(), size) == 0)
        return std::nullopt;
    return win32::FromWide(ascii);
}

} // namespace platform
