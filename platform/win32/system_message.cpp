#include "platform/win32/system_message.h"

#include "platform/win32/wide_text.h"

#include <windows.h>

namespace platform::win32 {

std::string SystemMessage(std::uint32_t errorCode)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || !buffer)
        return "Error " + std::to_string(errorCode);
    std::wstring text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return FromWide(text);
}

} // namespace platform::win32
