#pragma once

#include <cstddef>

namespace net {

// Where response bytes come from: a connection, or bytes in memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Waits for data; at most capacity bytes, 0 once the peer has closed.
    // Throws on a failure or when waiting for data takes too long.
    virtual std::size_t Receive(char* buffer, std::size_t capacity) = 0;
    // Whether Receive would return at once, or will within the time.
    virtual bool WaitReadable(int timeoutMs) = 0;
    // The response head has been read; what follows is body, which is held
    // to a pace of its own.
    virtual void BodyStarts() {}
};

} // namespace net
