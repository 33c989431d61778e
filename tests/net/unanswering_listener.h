#pragma once

#include "platform/socket.h"
#ifdef _WIN32
#include "tests/support/wine_detection.h"
#endif

#include <cstdint>
#include <vector>

namespace net_test {

// A loopback port whose connection attempts get no answer at all, like a dead
// proxy host: a listener whose accept queue is full of connections that are
// never accepted. Linux then drops further attempts unanswered.
class UnansweringListener {
public:
    // Connects with a short limit until an attempt fails: the queue is full.
    UnansweringListener() : listener_(0)
    {
        for (int attempt = 0; attempt < 8 && !full_; ++attempt) {
            try {
                waiting_.push_back(platform::TcpSocket::Connect(0x7F000001, listener_.Port(), 300));
            } catch (const platform::SocketError&) {
                full_ = true;
            }
        }
    }

    // Whether the system drops attempts on a full queue: Windows itself
    // refuses them, Wine leaves it to the Linux beneath it.
    static bool Possible()
    {
#ifdef _WIN32
        return test_support::RunningUnderWine();
#else
        return true;
#endif
    }

    bool Full() const
    {
        return full_;
    }
    std::uint16_t Port() const
    {
        return listener_.Port();
    }

private:
    platform::TcpListener listener_;
    std::vector<platform::TcpSocket> waiting_;
    bool full_ = false;
};

} // namespace net_test
