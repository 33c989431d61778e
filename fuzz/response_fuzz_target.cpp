// Arbitrary bytes as a server's reply, read as the client reads one. The
// first byte chooses how: bit 0 reads a proxy's reply to CONNECT instead of a
// response, bit 1 gives the URL a password (the one accepted 401 case), and
// the other six bits are the size of the pieces the reply arrives in (0: all
// at once), so that lines and boundaries also fall across receives.

#include "fuzz/fuzz_target.h"
#include "fuzz/reply_reading.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    constexpr int kPieceSizeShift = 2;
    fuzz::ReadReply(data[0], data[0] >> kPieceSizeShift,
                    std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    return 0;
}
