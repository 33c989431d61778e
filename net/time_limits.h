#pragma once

namespace net {

// How long a client waits. The program keeps these values; tests shorten
// them to see what happens when a peer stalls.
struct TimeLimits {
    // Waiting for response data, on plain and TLS connections alike.
    int responseWaitMs = 30000;
    // Every single send and receive call on a TLS connection's socket, from
    // the handshake on.
    int tlsSocketMs = 30000;
    // How long the body of a redirect may take to start arriving before it
    // is left unread.
    int redirectBodyWaitMs = 5000;
};

} // namespace net
