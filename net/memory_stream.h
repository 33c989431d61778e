#pragma once

#include "net/byte_sink.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace net {

// A growable byte buffer with a position.
class MemoryStream : public ByteSink {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

    const std::string& Bytes() const { return bytes_; }
    std::size_t Position() const { return position_; }
    // A position past the end is allowed; the next write fills the gap with
    // zero bytes.
    void SetPosition(std::size_t position) { position_ = position; }

    void Write(std::string_view bytes) override;
    void Reserve(std::size_t moreBytes) override;
    void Truncate() override;

private:
    void Grow(std::size_t needed);

    std::string bytes_;
    std::size_t position_ = 0;
};

} // namespace net
