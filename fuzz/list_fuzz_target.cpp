// Arbitrary bytes as a proxy list file. Its lines must survive being joined
// and split again, and its text being saved and loaded in the encoding it
// came in (the ANSI code page may lose characters, so not there).

#include "fuzz/fuzz_target.h"
#include "proxylist/list_format.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace proxylist;
    const DecodedListFile file =
        DecodeListFile(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto lines = SplitListText(file.text);
    if (SplitListText(JoinListText(lines)) != lines)
        std::abort();
    const std::string saved = EncodeListFile(file.text, file.encoding);
    if (file.encoding != platform::TextEncoding::Ansi) {
        const DecodedListFile loaded = DecodeListFile(saved);
        if (loaded.encoding != file.encoding || loaded.text != file.text)
            std::abort();
    }
    return 0;
}
