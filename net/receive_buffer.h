#pragma once

#include "net/byte_source.h"
#include "net/work_progress.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace net {

// The bytes received from a source and not yet taken. Every taking is
// reported to the progress units.
class ReceiveBuffer {
public:
    // The most bytes a line may have before its LF, a CR included.
    static constexpr std::size_t kMaxLineLength = 16384;
    // The largest block taken from the source at once.
    static constexpr std::size_t kReceiveBlock = 32768;

    ReceiveBuffer(ByteSource& source, WorkProgress& progress);

    // The next line without its LF and a CR just before it; none when the
    // peer closes before the LF, and the bytes of the unfinished line are
    // dropped. Throws HttpError "Max line length exceeded."
    std::optional<std::string> ReadLine();
    // At most maxBytes: those already here, or, when none are, one block
    // received. Empty once the peer has closed. Valid until the next call.
    std::string_view Take(std::size_t maxBytes);
    // The bytes here, without taking them.
    std::string_view Buffered() const;
    // Receives one more block; false once the peer has closed.
    bool Fill();
    // Bytes are here or arrive within the time (or the peer closes).
    bool DataWithin(int timeoutMs);
    // The head has been read: the source paces the body from here on.
    void BodyStarts() { source_.BodyStarts(); }

private:
    void Consume(std::size_t count);

    ByteSource& source_;
    WorkProgress& progress_;
    std::string data_;
    std::size_t start_ = 0;
    std::unique_ptr<char[]> block_;
    bool peerClosed_ = false;
};

} // namespace net
