#include "platform/text_integer.h"

#include <limits>

namespace platform {

namespace {

int DigitValue(char c, int base)
{
    int value = base;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

// Takes the hexadecimal prefix off, if there is one.
int TakeBase(std::string_view& text)
{
    for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
        if (text.substr(0, prefix.size()) == prefix) {
            text.remove_prefix(prefix.size());
            return 16;
        }
    }
    return 10;
}

} // namespace

std::optional<std::int32_t> TextToInteger(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const int base = TakeBase(text);
    if (text.empty())
        return std::nullopt;

    // The magnitude may reach 2^31 only for a negative number.
    const std::int64_t limit =
        std::int64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0);
    std::int64_t magnitude = 0;
    for (const char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace platform
