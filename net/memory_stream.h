#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace net {

// A growable byte buffer with a position, the sink of GetStream.
class MemoryStream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

    const std::string& Bytes() const { return bytes_; }
    std::size_t Position() const { return position_; }
    // A position past the end is allowed; the next write fills the gap with
    // zero bytes.
    void SetPosition(std::size_t position) { position_ = position; }

    // Writes at the position, over what is there and past the end, and moves
    // the position on.
    void Write(std::string_view bytes);
    // Makes room for that many more bytes after the position.
    void Reserve(std::size_t moreBytes);
    // Cuts off everything after the position.
    void Truncate();

private:
    std::string bytes_;
    std::size_t position_ = 0;
};

} // namespace net
