#include "net/connection.h"

#include "net/http_error.h"

#include <utility>

namespace net {

Connection::Connection(platform::TcpSocket socket, TlsLayer* tls, const TimeLimits& limits)
    : socket_(std::move(socket)), tls_(tls), limits_(limits)
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

std::size_t Connection::Receive(char* buffer, std::size_t capacity)
{
    const std::size_t received = Guarded([&] {
        if (Encrypting())
            return tls_->Receive(buffer, capacity, limits_.responseWaitMs);
        if (!socket_.WaitReadable(limits_.responseWaitMs))
            throw ReadTimeoutError();
        return socket_.Receive(buffer, capacity);
    });
    if (received == 0)
        peerClosed_ = true;
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
