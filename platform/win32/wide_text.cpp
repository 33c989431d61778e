#include "platform/win32/wide_text.h"

#include "platform/text_codec.h"

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wchar_t is a UTF-16 code unit");

std::wstring ToWide(std::string_view utf8)
{
    const std::u16string units = Utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

std::string FromWide(std::wstring_view wide)
{
    return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

} // namespace platform::win32
