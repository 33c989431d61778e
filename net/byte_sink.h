#pragma once

#include <cstddef>
#include <string_view>

namespace net {

// Where the body of GetStream goes: bytes written from a position on.
class ByteSink {
public:
    virtual ~ByteSink() = default;

    // Writes at the position, over what is there and past the end, and moves
    // the position on.
    virtual void Write(std::string_view bytes) = 0;
    // Makes room for that many more bytes after the position; a sink that
    // grows cheaply on its own ignores it.
    virtual void Reserve(std::size_t /*moreBytes*/) {}
    // Cuts off everything after the position.
    virtual void Truncate() = 0;
};

} // namespace net
