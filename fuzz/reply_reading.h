#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fuzz {

constexpr std::uint8_t kConnectReplyBit = 1;
constexpr std::uint8_t kPasswordBit = 2;

// Reads the reply as the client reads a server's, arriving in pieces of
// pieceSize bytes (0: all at once); MODE holds the bits above. Refusals are
// expected; any other exception escapes.
void ReadReply(std::uint8_t mode, std::size_t pieceSize, std::string_view reply);

} // namespace fuzz
