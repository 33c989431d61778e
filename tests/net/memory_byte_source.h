#pragma once

#include "net/byte_source.h"
#include "net/http_error.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace net_test {

// Hands out bytes in the pieces given, one piece (or what fits) per
// Receive, as a connection would; then the peer closes, or goes silent.
class MemoryByteSource : public net::ByteSource {
public:
    enum class AtEnd { Close, Stall };

    explicit MemoryByteSource(std::vector<std::string> pieces, AtEnd atEnd = AtEnd::Close)
        : pieces_(pieces.begin(), pieces.end()), atEnd_(atEnd)
    {
    }

    std::size_t Receive(char* buffer, std::size_t capacity) override
    {
        ++receiveCalls_;
        if (pieces_.empty()) {
            if (atEnd_ == AtEnd::Stall)
                throw net::ReadTimeoutError();
            return 0;
        }
        std::string& piece = pieces_.front();
        const std::size_t count = std::min(capacity, piece.size());
        std::memcpy(buffer, piece.data(), count);
        piece.erase(0, count);
        if (piece.empty())
            pieces_.pop_front();
        return count;
    }

    bool WaitReadable(int) override
    {
        ++waitCalls_;
        return !pieces_.empty() || atEnd_ == AtEnd::Close;
    }

    int ReceiveCalls() const { return receiveCalls_; }
    int WaitCalls() const { return waitCalls_; }

private:
    std::deque<std::string> pieces_;
    AtEnd atEnd_;
    int receiveCalls_ = 0;
    int waitCalls_ = 0;
};

// A given number of bytes of one value in blocks as large as asked for,
// then the close: a large body without holding it twice.
class RepeatingByteSource : public net::ByteSource {
public:
    RepeatingByteSource(std::string head, std::size_t bodyBytes)
        : head_(std::move(head)), left_(bodyBytes)
    {
    }

    std::size_t Receive(char* buffer, std::size_t capacity) override
    {
        if (!head_.empty()) {
            const std::size_t count = std::min(capacity, head_.size());
            std::memcpy(buffer, head_.data(), count);
            head_.erase(0, count);
            return count;
        }
        const std::size_t count = std::min(capacity, left_);
        std::memset(buffer, 'x', count);
        left_ -= count;
        return count;
    }

    bool WaitReadable(int) override { return true; }

private:
    std::string head_;
    std::size_t left_;
};

} // namespace net_test
