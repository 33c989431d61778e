#include "platform/socket.h"

// The parts of the socket classes that need no system call of their own.
namespace platform {

SocketError LastSystemSocketError()
{
    return SystemSocketError(LastSocketErrorNumber());
}

TcpSocket::~TcpSocket()
{
    Close();
}

TcpSocket::TcpSocket(TcpSocket&& other) noexcept : handle_(other.handle_)
{
    other.handle_ = kNoHandle;
}

TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept
{
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = kNoHandle;
    }
    return *this;
}

TcpListener::~TcpListener()
{
    Close();
}

} // namespace platform
