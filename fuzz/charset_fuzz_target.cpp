// A character set name and a body: byte 0 is the name's length (mod 40), the
// name follows, the rest is the body. A name of digits is also tried as a
// code page. Whatever the bytes, the text that comes out must be UTF-8.

#include "fuzz/fuzz_target.h"
#include "net/body_decoding.h"
#include "platform/code_pages.h"
#include "platform/text_codec.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void RequireUtf8(const std::string& text)
{
    if (platform::Utf16ToUtf8(platform::Utf8ToUtf16(text)) != text)
        std::abort();
}

bool IsCodePageNumber(std::string_view name)
{
    return !name.empty() && name.size() <= 5 &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    constexpr std::size_t kMaxNameBytes = 40;
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string_view name = input.substr(0, data[0] % kMaxNameBytes);
    const std::string_view body = input.substr(name.size());
    RequireUtf8(net::DecodeWithCharSet(body, name));
    if (IsCodePageNumber(name)) {
        if (const auto text = platform::DecodeCodePage(
                body, static_cast<unsigned>(std::stoul(std::string(name)))))
            RequireUtf8(*text);
    }
    return 0;
}
