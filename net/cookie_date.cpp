#include "net/cookie_date.h"

#include "net/ascii_text.h"

#include <array>
#include <vector>

namespace net {

namespace {

bool IsDelimiter(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u == 0x09 || (u >= 0x20 && u <= 0x2F) || (u >= 0x3B && u <= 0x40) ||
           (u >= 0x5B && u <= 0x60) || (u >= 0x7B && u <= 0x7E);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::vector<std::string_view> Tokens(std::string_view text)
{
    std::vector<std::string_view> tokens;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && IsDelimiter(text[pos]))
            ++pos;
        const std::size_t start = pos;
        while (pos < text.size() && !IsDelimiter(text[pos]))
            ++pos;
        if (pos > start)
            tokens.push_back(text.substr(start, pos - start));
    }
    return tokens;
}

// minDigits to maxDigits digits at the start, the rest anything but a digit.
std::optional<int> LeadingNumber(std::string_view token, std::size_t minDigits,
                                 std::size_t maxDigits)
{
    std::size_t count = 0;
    int value = 0;
    while (count < token.size() && count <= maxDigits && IsDigit(token[count])) {
        value = value * 10 + (token[count] - '0');
        ++count;
    }
    if (count < minDigits || count > maxDigits)
        return std::nullopt;
    return value;
}

// hh:mm:ss, each one or two digits, optionally followed by non-digits.
bool ParseTime(std::string_view token, int& hour, int& minute, int& second)
{
    std::array<int, 3> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::size_t count = 0;
        int value = 0;
        while (count < token.size() && count < 3 && IsDigit(token[count])) {
            value = value * 10 + (token[count] - '0');
            ++count;
        }
        if (count < 1 || count > 2)
            return false;
        parts[i] = value;
        token.remove_prefix(count);
        if (i < 2) {
            if (token.empty() || token.front() != ':')
                return false;
            token.remove_prefix(1);
        } else if (!token.empty() && IsDigit(token.front())) {
            return false;
        }
    }
    hour = parts[0];
    minute = parts[1];
    second = parts[2];
    return true;
}

int MonthOf(std::string_view token)
{
    static constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                              "jul", "aug", "sep", "oct", "nov", "dec"};
    for (int i = 0; i < 12; ++i) {
        if (StartsWithIgnoreAsciiCase(token, kMonths[i]))
            return i + 1;
    }
    return 0;
}

// Days from 1970-01-01 to the civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const int shiftedMonth = month > 2 ? month - 3 : month + 9;
    const std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace

std::optional<std::int64_t> ParseCookieDate(std::string_view text)
{
    bool haveTime = false;
    bool haveDay = false;
    bool haveMonth = false;
    bool haveYear = false;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int day = 0;
    int month = 0;
    int year = 0;
    for (const std::string_view token : Tokens(text)) {
        if (!haveTime && ParseTime(token, hour, minute, second)) {
            haveTime = true;
        } else if (const auto dayValue = LeadingNumber(token, 1, 2); !haveDay && dayValue) {
            haveDay = true;
            day = *dayValue;
        } else if (const int monthValue = MonthOf(token); !haveMonth && monthValue != 0) {
            haveMonth = true;
            month = monthValue;
        } else if (const auto yearValue = LeadingNumber(token, 2, 4); !haveYear && yearValue) {
            haveYear = true;
            year = *yearValue;
        }
    }
    if (haveYear && year >= 70 && year <= 99)
        year += 1900;
    else if (haveYear && year >= 0 && year <= 69)
        year += 2000;
    if (!haveTime || !haveDay || !haveMonth || !haveYear || day < 1 || day > 31 || year < 1601 ||
        hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (day > kDaysInMonth[month - 1] || (month == 2 && day == 29 && !leap))
        return std::nullopt;
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

} // namespace net
