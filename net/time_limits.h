#pragma once

#include <cstddef>

namespace net {

// How long a client waits. The program keeps these values; tests shorten
// them to see what happens when a peer stalls or trickles.
struct TimeLimits {
    // Waiting for response data, on plain and TLS connections alike.
    int responseWaitMs = 30000;
    // Every single send and receive call on a TLS connection's socket, from
    // the handshake on.
    int tlsSocketMs = 30000;
    // How long the body of a redirect may take to start arriving before it
    // is left unread.
    int redirectBodyWaitMs = 5000;
    // The whole response head, interim replies and a proxy's reply to
    // CONNECT included, counted from the request: a peer that sends one
    // header byte at a time cannot stretch it.
    int headMs = 30000;
    // A body fails once it delivers fewer than bodyLeastBytes within
    // bodyStallMs.
    int bodyStallMs = 30000;
    std::size_t bodyLeastBytes = 1024;
    // No request lasts longer in all. Above the speed test's pass limit of
    // 512 s, so a download that passes is never cut short.
    int requestMs = 600000;
    // Waiting for the peer to take the connection. About what Windows' own
    // connect gives up after, and the same on every platform, so that a dead
    // proxy costs the same everywhere (Linux alone would try for 131 s).
    int connectMs = 21000;
};

// Interim (1xx) replies read before the final one.
inline constexpr int kMaxInterimReplies = 16;

} // namespace net
