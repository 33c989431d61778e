#include "platform/text_integer.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

struct IntegerCase {
    const char* text;
    std::optional<std::int32_t> value;
};

TEST(TextToInteger, TakesOnlyAWholeSigned32BitNumber)
{
    const IntegerCase cases[] = {
        {"12", 12},
        {"   -7", -7},
        {"+0", 0},
        {"007", 7},
        {"$0C", 12},
        {"-$0c", -12},
        {"x1F", 31},
        {"X1f", 31},
        {"0x0C", 12},
        {"0X7FFFFFFF", 2147483647},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483648LL},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"$80000000", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"+", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"\t12", std::nullopt},
        {"12 ", std::nullopt},
        {"12\n", std::nullopt},
        {"1.1", std::nullopt},
        {"- 5", std::nullopt},
        {"0C", std::nullopt},
        {"00x1", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextToInteger(c.text), c.value) << '"' << c.text << '"';
}

} // namespace
} // namespace platform
