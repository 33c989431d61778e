#include "net/receive_buffer.h"

#include "net/error_texts.h"
#include "net/http_error.h"

#include <algorithm>

namespace net {

ReceiveBuffer::ReceiveBuffer(ByteSource& source, WorkProgress& progress)
    : source_(source), progress_(progress), block_(new char[kReceiveBlock])
{
}

std::optional<std::string> ReceiveBuffer::ReadLine()
{
    std::size_t searched = 0;
    for (;;) {
        const std::string_view here = Buffered();
        const auto lf = here.find('\n', searched);
        if (lf != std::string_view::npos) {
            if (lf > kMaxLineLength)
                throw HttpError(kMaxLineLengthExceeded);
            std::string line(here.substr(0, lf));
            Consume(lf + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
        if (here.size() > kMaxLineLength)
            throw HttpError(kMaxLineLengthExceeded);
        searched = here.size();
        if (!Fill()) {
            // Left here, the cut-off line would pass for the start of a body.
            Consume(Buffered().size());
            return std::nullopt;
        }
    }
}

std::string_view ReceiveBuffer::Take(std::size_t maxBytes)
{
    if (Buffered().empty() && !Fill())
        return {};
    const std::size_t count = std::min(Buffered().size(), maxBytes);
    const std::string_view taken = Buffered().substr(0, count);
    Consume(count);
    return taken;
}

std::string_view ReceiveBuffer::Buffered() const
{
    return std::string_view(data_).substr(start_);
}

bool ReceiveBuffer::Fill()
{
    if (peerClosed_)
        return false;
    const std::size_t received = source_.Receive(block_.get(), kReceiveBlock);
    if (received == 0) {
        peerClosed_ = true;
        return false;
    }
    // Taken bytes stay until the next fill, so views handed out stay valid.
    data_.erase(0, start_);
    start_ = 0;
    data_.append(block_.get(), received);
    return true;
}

bool ReceiveBuffer::DataWithin(int timeoutMs)
{
    return !Buffered().empty() || peerClosed_ || source_.WaitReadable(timeoutMs);
}

void ReceiveBuffer::Consume(std::size_t count)
{
    start_ += count;
    progress_.Taken(count);
}

} // namespace net
