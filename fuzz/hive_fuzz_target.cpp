// Arbitrary text as the stand-in registry's hive file. Whatever is read must
// survive being written and read again, or a save would change the registry.

#include "fuzz/fuzz_target.h"
#include "platform/posix/hive_format.h"

#include <cstdlib>
#include <string_view>

namespace {

bool SameValues(const platform::posix::HiveKey& a, const platform::posix::HiveKey& b)
{
    if (a.path != b.path || a.values.size() != b.values.size())
        return false;
    for (std::size_t i = 0; i < a.values.size(); ++i) {
        const auto& x = a.values[i];
        const auto& y = b.values[i];
        if (x.name != y.name || x.type != y.type || x.data != y.data)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace platform::posix;
    const Hive hive = ParseHive(std::string_view(reinterpret_cast<const char*>(data), size));
    const Hive reread = ParseHive(PrintHive(hive));
    if (reread.keys.size() != hive.keys.size())
        std::abort();
    for (std::size_t i = 0; i < hive.keys.size(); ++i) {
        if (!SameValues(hive.keys[i], reread.keys[i]))
            std::abort();
    }
    return 0;
}
