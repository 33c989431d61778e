#include "platform/idna.h"

#include <idn2.h>

#include <algorithm>

namespace platform {

std::optional<std::string> HostNameToAscii(std::string_view utf8Name)
{
    if (std::all_of(utf8Name.begin(), utf8Name.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(utf8Name);
    const std::string input(utf8Name);
    char* output = nullptr;
    // Transitional processing maps as IDNA 2003 does (for example "ß" to
    // "ss"), which is what the Windows conversion does.
    const int result = idn2_to_ascii_8z(input.c_str(), &output, IDN2_NFC_INPUT | IDN2_TRANSITIONAL);
    if (result != IDN2_OK)
        return std::nullopt;
    std::string ascii(output);
    idn2_free(output);
    return ascii;
}

} // namespace platform
