// Replies of megabytes from inputs of a few bytes, which the response
// target's inputs never grow to. Byte 0 is the mode of the reply reader
// (bits 0 and 1), its other six bits times 4 KiB the size of the pieces the
// reply arrives in; bytes 1-3 a repeat count (big endian); byte 4 the length
// of a tail taken from the input's end. The rest is a head up to and
// including its first empty line, then the piece repeated. The reply is head,
// repeated piece and tail, cut at 8 MiB.

#include "fuzz/fuzz_target.h"
#include "fuzz/reply_reading.h"

#include <algorithm>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kPrefixBytes = 5;
    constexpr std::size_t kMaxReplyBytes = std::size_t{8} << 20;
    constexpr std::size_t kPieceUnit = 4096;
    constexpr std::string_view kHeadEnd = "\r\n\r\n";
    if (size < kPrefixBytes)
        return 0;
    const std::size_t count = std::size_t{data[1]} << 16 | std::size_t{data[2]} << 8 | data[3];
    std::string_view rest(reinterpret_cast<const char*>(data) + kPrefixBytes, size - kPrefixBytes);
    const std::size_t tailBytes = std::min<std::size_t>(data[4], rest.size());
    const std::string_view tail = rest.substr(rest.size() - tailBytes);
    rest.remove_suffix(tailBytes);
    const std::size_t headEnd = rest.find(kHeadEnd);
    const std::size_t headBytes =
        headEnd == std::string_view::npos ? rest.size() : headEnd + kHeadEnd.size();
    std::string reply(rest.substr(0, headBytes));
    const std::string_view piece = rest.substr(headBytes);
    for (std::size_t i = 0; i < count && !piece.empty() && reply.size() < kMaxReplyBytes; ++i)
        reply += piece;
    reply += tail;
    reply.resize(std::min(reply.size(), kMaxReplyBytes));
    fuzz::ReadReply(data[0], static_cast<std::size_t>(data[0] >> 2) * kPieceUnit, reply);
    return 0;
}
