#include "net/connection.h"

#include "net/http_error.h"

#include <algorithm>
#include <utility>

namespace net {

Connection::Connection(platform::TcpSocket socket, TlsLayer* tls, const TimeLimits& limits)
    : socket_(std::move(socket)), tls_(tls), limits_(limits),
      requestDeadline_(Clock::now() + std::chrono::milliseconds(limits.requestMs)),
      phaseDeadline_(Clock::now() + std::chrono::milliseconds(limits.headMs))
{
}

Connection::~Connection()
{
    Close();
}

// A failure leaves the connection unusable, except a timeout: the peer may
// still be there.
template <typename Transfer> auto Connection::Guarded(Transfer&& transfer) -> decltype(transfer())
{
    try {
        return transfer();
    } catch (const ReadTimeoutError&) {
        throw;
    } catch (...) {
        broken_ = true;
        throw;
    }
}

void Connection::HeadStarts()
{
    readingBody_ = false;
    phaseDeadline_ = Clock::now() + std::chrono::milliseconds(limits_.headMs);
}

void Connection::BodyStarts()
{
    readingBody_ = true;
    bytesInWindow_ = 0;
    phaseDeadline_ = Clock::now() + std::chrono::milliseconds(limits_.bodyStallMs);
}

int Connection::NextWaitMs() const
{
    const Clock::time_point deadline = std::min(phaseDeadline_, requestDeadline_);
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        throw ReadTimeoutError();
    return static_cast<int>(std::min<long long>(left, limits_.responseWaitMs));
}

// A body that keeps its pace opens a new window each time it has delivered
// the least it must.
void Connection::Count(std::size_t received)
{
    if (!readingBody_)
        return;
    bytesInWindow_ += received;
    if (bytesInWindow_ >= limits_.bodyLeastBytes) {
        bytesInWindow_ = 0;
        phaseDeadline_ = Clock::now() + std::chrono::milliseconds(limits_.bodyStallMs);
    }
}

std::size_t Connection::Receive(char* buffer, std::size_t capacity)
{
    const std::size_t received = Guarded([&] {
        const int waitMs = NextWaitMs();
        if (Encrypting())
            return tls_->Receive(buffer, capacity, waitMs);
        if (!socket_.WaitReadable(waitMs))
            throw ReadTimeoutError();
        return socket_.Receive(buffer, capacity);
    });
    if (received == 0)
        peerClosed_ = true;
    Count(received);
    return received;
}

bool Connection::WaitReadable(int timeoutMs)
{
    return Encrypting() ? tls_->WaitReadable(timeoutMs) : socket_.WaitReadable(timeoutMs);
}

void Connection::Send(std::string_view bytes)
{
    Guarded([&] {
        if (Encrypting())
            tls_->Send(bytes);
        else
            socket_.SendAll(bytes);
    });
}

void Connection::StartTls()
{
    Guarded([&] { tls_->StartEncryption(socket_, limits_.tlsSocketMs); });
}

void Connection::Close()
{
    if (tls_ != nullptr)
        tls_->Stop(StillOpen());
    socket_.Close();
}

} // namespace net
