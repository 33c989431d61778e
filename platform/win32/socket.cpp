#include "platform/socket.h"

#include "platform/win32/system_message.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace platform {

namespace {

// Once per process; the library stays loaded until the process ends, as
// other threads may still be using a socket when the program leaves.
void StartSockets()
{
    static const int started = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data);
    }();
    if (started != 0)
        throw SystemSocketError(started);
}

SOCKET ToSocket(TcpSocket::NativeHandle handle)
{
    return static_cast<SOCKET>(handle);
}

// Not handed down to programs the process starts.
TcpSocket::NativeHandle NewStreamSocket()
{
    const SOCKET handle = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0,
                                     WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (handle == INVALID_SOCKET)
        throw LastSystemSocketError();
    return static_cast<TcpSocket::NativeHandle>(handle);
}

bool PollFor(TcpSocket::NativeHandle handle, int timeoutMs, SHORT events = POLLRDNORM)
{
    WSAPOLLFD entry{};
    entry.fd = ToSocket(handle);
    entry.events = events;
    // An error shows as readiness: the next call on the socket reports it.
    return WSAPoll(&entry, 1, timeoutMs) != 0;
}

// Whether a non-blocking connect has finished, made or failed, within the
// time. select rather than WSAPoll: before Windows 10 2004 WSAPoll does not
// report a failed connect and waits out the time.
bool WaitForConnect(SOCKET handle, int timeoutMs)
{
    fd_set written;
    fd_set failed;
    FD_ZERO(&written);
    FD_ZERO(&failed);
    FD_SET(handle, &written);
    FD_SET(handle, &failed);
    timeval limit{};
    limit.tv_sec = timeoutMs / 1000;
    limit.tv_usec = (timeoutMs % 1000) * 1000;
    const int ready = select(0, nullptr, &written, &failed, timeoutMs < 0 ? nullptr : &limit);
    if (ready == SOCKET_ERROR)
        throw LastSystemSocketError();
    return ready > 0;
}

int ChunkSize(std::size_t size)
{
    return static_cast<int>(std::min<std::size_t>(size, INT_MAX));
}

} // namespace

// The system's numbers already are the Windows Sockets numbers.
SocketError SystemSocketError(int systemErrorNumber)
{
    if (WinsockErrorText(systemErrorNumber).empty())
        return SocketError(systemErrorNumber,
                           win32::SystemMessage(static_cast<std::uint32_t>(systemErrorNumber)));
    return SocketError(systemErrorNumber);
}

int LastSocketErrorNumber()
{
    return WSAGetLastError();
}

bool IsInterruptedCall(int systemErrorNumber)
{
    return systemErrorNumber == WSAEINTR;
}

std::uint32_t ResolveIpv4(const std::string& asciiName)
{
    StartSockets();
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    // The result is a Windows Sockets number (11001 for an unknown name).
    const int result = getaddrinfo(asciiName.c_str(), nullptr, &hints, &found);
    if (result != 0)
        throw SystemSocketError(result);
    if (found == nullptr)
        throw SocketError(kWsaHostNotFound);
    sockaddr_in address{};
    std::memcpy(&address, found->ai_addr, sizeof address);
    freeaddrinfo(found);
    return ntohl(address.sin_addr.s_addr);
}

TcpSocket TcpSocket::Connect(std::uint32_t ipv4, std::uint16_t port, int timeoutMs)
{
    StartSockets();
    TcpSocket connection(NewStreamSocket());
    const SOCKET handle = ToSocket(connection.handle_);
    // Non-blocking, so that the wait for an answer has a limit of its own.
    connection.SetBlocking(false);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(ipv4);
    if (connect(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (WSAGetLastError() != WSAEWOULDBLOCK)
            throw LastSystemSocketError();
        if (!WaitForConnect(handle, timeoutMs))
            throw SocketError(kWsaTimedOut);
        int error = 0;
        int length = sizeof error;
        if (getsockopt(handle, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0)
            throw LastSystemSocketError();
        if (error != 0)
            throw SystemSocketError(error);
    }
    connection.SetBlocking(true);
    return connection;
}

// A send or receive that outlasts its limit fails with 10060 itself.
void TcpSocket::SendAll(std::string_view bytes)
{
    while (!bytes.empty()) {
        const int sent = send(ToSocket(handle_), bytes.data(), ChunkSize(bytes.size()), 0);
        if (sent == SOCKET_ERROR)
            throw LastSystemSocketError();
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
}

std::size_t TcpSocket::Receive(char* buffer, std::size_t capacity)
{
    const int received = recv(ToSocket(handle_), buffer, ChunkSize(capacity), 0);
    if (received == SOCKET_ERROR)
        throw LastSystemSocketError();
    return static_cast<std::size_t>(received);
}

bool TcpSocket::WaitReadable(int timeoutMs) const
{
    return PollFor(handle_, timeoutMs);
}

bool TcpSocket::WaitWritable(int timeoutMs) const
{
    return PollFor(handle_, timeoutMs, POLLWRNORM);
}

void TcpSocket::SetBlocking(bool blocking)
{
    u_long nonBlocking = blocking ? 0 : 1;
    if (ioctlsocket(ToSocket(handle_), FIONBIO, &nonBlocking) != 0)
        throw LastSystemSocketError();
}

void TcpSocket::SetSendReceiveTimeLimits(int milliseconds)
{
    const DWORD limit = static_cast<DWORD>(milliseconds);
    const auto* value = reinterpret_cast<const char*>(&limit);
    if (setsockopt(ToSocket(handle_), SOL_SOCKET, SO_RCVTIMEO, value, sizeof limit) != 0 ||
        setsockopt(ToSocket(handle_), SOL_SOCKET, SO_SNDTIMEO, value, sizeof limit) != 0)
        throw LastSystemSocketError();
}

void TcpSocket::Close()
{
    if (handle_ != kNoHandle) {
        closesocket(ToSocket(handle_));
        handle_ = kNoHandle;
    }
}

TcpListener::TcpListener(int backlog)
{
    StartSockets();
    handle_ = NewStreamSocket();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (bind(ToSocket(handle_), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(ToSocket(handle_), backlog) != 0 ||
        getsockname(ToSocket(handle_), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        const SocketError error = LastSystemSocketError();
        Close();
        throw error;
    }
    port_ = ntohs(address.sin_port);
}

TcpSocket TcpListener::Accept(int timeoutMs)
{
    if (!PollFor(handle_, timeoutMs))
        return TcpSocket();
    const SOCKET accepted = accept(ToSocket(handle_), nullptr, nullptr);
    if (accepted == INVALID_SOCKET)
        throw LastSystemSocketError();
    // Not handed down either: not every system lets it take that from the
    // listening socket (Wine does not).
    SetHandleInformation(reinterpret_cast<HANDLE>(accepted), HANDLE_FLAG_INHERIT, 0);
    return TcpSocket(static_cast<TcpSocket::NativeHandle>(accepted));
}

bool TcpListener::HasPendingConnection() const
{
    return PollFor(handle_, 0);
}

void TcpListener::Close()
{
    if (handle_ != TcpSocket::kNoHandle) {
        closesocket(ToSocket(handle_));
        handle_ = TcpSocket::kNoHandle;
    }
}

} // namespace platform
