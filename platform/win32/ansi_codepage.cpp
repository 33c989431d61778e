#include "platform/text_codec.h"
#include "platform/utf16_units.h"
#include "platform/win32/wide_text.h"

#include <windows.h>

#include <string>

namespace platform {

namespace {

// Characters the code page lacks become "?", never a look-alike (c for c with
// caron, as the best-fit tables would have it).
std::string ToCodePage(std::wstring_view text)
{
    if (text.empty())
        return {};
    const auto length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr,
                                         0, "?", nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, out.data(), size, "?",
                        nullptr);
    return out;
}

} // namespace

std::string AnsiToUtf8(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const auto length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), size);
    return win32::FromWide(wide);
}

std::string Utf8ToAnsi(std::string_view utf8)
{
    const std::wstring wide = win32::ToWide(utf8);
    // UTF-8 as the ANSI code page holds every character and takes no
    // default character.
    if (GetACP() == CP_UTF8)
        return win32::FromWide(wide);
    // No ANSI code page holds characters outside the BMP; the conversion
    // would give one "?" per surrogate, where the text has one character.
    std::string out;
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (!IsHighSurrogate(wide[i]) || i + 1 == wide.size() || !IsLowSurrogate(wide[i + 1]))
            continue;
        out += ToCodePage(std::wstring_view(wide).substr(runStart, i - runStart));
        out += '?';
        ++i;
        runStart = i + 1;
    }
    out += ToCodePage(std::wstring_view(wide).substr(runStart));
    return out;
}

} // namespace platform
