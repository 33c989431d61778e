// Arbitrary bytes as the note of an applied proxy, which a start after a
// crash reads back. Whatever it makes of them must survive being written and
// read again.

#include "fuzz/fuzz_target.h"
#include "sysproxy/applied_proxy_record.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace sysproxy;
    const AppliedProxy read =
        ParseAppliedProxy(std::string_view(reinterpret_cast<const char*>(data), size));
    const AppliedProxy again = ParseAppliedProxy(FormatAppliedProxy(read));
    if (again.server != read.server || again.owner != read.owner || !again.snapshot ||
        again.snapshot->values !=
            (read.snapshot ? read.snapshot->values : std::vector<SnapshotValue>{}))
        std::abort();
    return 0;
}
