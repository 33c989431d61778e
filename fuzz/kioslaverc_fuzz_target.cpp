// Arbitrary text as a user's kioslaverc, with the proxy keys Hopvane sets.
// After the rewrite every key reads back as set or removed, and the text
// before the first group stays byte for byte.

#include "fuzz/fuzz_target.h"
#include "platform/posix/kioslaverc.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace platform;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const KioslavercEntries entries = {{"ProxyType", "1"},
                                       {"httpProxy", "http://10.0.0.1 8080"},
                                       {"socksProxy", ""},
                                       {"ReversedException", std::nullopt}};
    std::vector<std::string> keys;
    for (const auto& entry : entries)
        keys.push_back(entry.first);
    const std::string rewritten = RewriteKioslaverc(text, entries);
    if (ReadKioslavercValues(rewritten, keys) != entries)
        std::abort();
    const std::string_view beforeGroups = text.substr(0, text.find('['));
    if (rewritten.compare(0, beforeGroups.size(), beforeGroups) != 0)
        std::abort();
    return 0;
}
