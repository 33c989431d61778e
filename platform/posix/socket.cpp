#include "platform/socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>

namespace platform {

namespace {

struct ErrnoMapping {
    int systemError;
    int winsockError;
};

// EAGAIN is missing: on these blocking sockets it only ever means that a time
// limit has passed, which the callers report as 10060 themselves.
constexpr ErrnoMapping kErrnoMappings[] = {
    {EINTR, 10004},        {EBADF, 10009},           {EACCES, 10013},
    {EFAULT, 10014},       {EINVAL, 10022},          {EMFILE, 10024},
    {EINPROGRESS, 10036},  {EALREADY, 10037},        {ENOTSOCK, 10038},
    {EDESTADDRREQ, 10039}, {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},
    {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044},
    {EOPNOTSUPP, 10045},   {EPFNOSUPPORT, 10046},    {EAFNOSUPPORT, 10047},
    {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},
    {ENETUNREACH, 10051},  {ENETRESET, 10052},       {ECONNABORTED, 10053},
    {ECONNRESET, 10054},   {EPIPE, 10054},           {ENOBUFS, 10055},
    {EISCONN, 10056},      {ENOTCONN, 10057},        {ESHUTDOWN, 10058},
    {ETOOMANYREFS, 10059}, {ETIMEDOUT, 10060},       {ECONNREFUSED, 10061},
    {ELOOP, 10062},        {ENAMETOOLONG, 10063},    {EHOSTDOWN, 10064},
    {EHOSTUNREACH, 10065}, {ENOTEMPTY, 10066},
};

// A peer that closes while we write must show as an error, not end the
// process; this is what starting the socket layer means here.
void StartSockets()
{
    static const bool started = [] {
        struct sigaction current {};
        if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            std::signal(SIGPIPE, SIG_IGN);
        return true;
    }();
    static_cast<void>(started);
}

SocketError ResolverError(int code)
{
    switch (code) {
    case EAI_NONAME:
#ifdef EAI_NODATA
    case EAI_NODATA:
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
#endif
        return SocketError(kWsaHostNotFound);
    case EAI_AGAIN:
        return SocketError(11002);
    case EAI_FAIL:
        return SocketError(11003);
    case EAI_SYSTEM:
        return LastSystemSocketError();
    default:
        return SocketError(code, gai_strerror(code));
    }
}

SocketError TransferError(int error)
{
    if (error == EAGAIN || error == EWOULDBLOCK)
        return SocketError(kWsaTimedOut);
    return SystemSocketError(error);
}

int ToFd(TcpSocket::NativeHandle handle)
{
    return static_cast<int>(handle);
}

bool PollFor(int fd, short events, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            wait = left.count() > 0 ? static_cast<int>(left.count()) : 0;
        }
        pollfd entry{fd, events, 0};
        const int ready = poll(&entry, 1, wait);
        if (ready >= 0)
            return ready > 0;
        if (errno != EINTR)
            return true; // the next call on the socket reports the error
    }
}

} // namespace

SocketError SystemSocketError(int systemErrorNumber)
{
    for (const auto& mapping : kErrnoMappings) {
        if (mapping.systemError == systemErrorNumber)
            return SocketError(mapping.winsockError);
    }
    return SocketError(systemErrorNumber, std::strerror(systemErrorNumber));
}

int LastSocketErrorNumber()
{
    return errno;
}

bool IsInterruptedCall(int systemErrorNumber)
{
    return systemErrorNumber == EINTR;
}

std::uint32_t ResolveIpv4(const std::string& asciiName)
{
    StartSockets();
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = getaddrinfo(asciiName.c_str(), nullptr, &hints, &found);
    if (result != 0)
        throw ResolverError(result);
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
    // Non-blocking, so that the wait for an answer has a limit of its own.
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        throw LastSystemSocketError();
    TcpSocket connection(fd);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(ipv4);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (errno != EINPROGRESS && errno != EINTR)
            throw LastSystemSocketError();
        // The attempt goes on in the background; wait for its outcome.
        if (!PollFor(fd, POLLOUT, timeoutMs))
            throw SocketError(kWsaTimedOut);
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
            throw LastSystemSocketError();
        if (error != 0)
            throw SystemSocketError(error);
    }
    connection.SetBlocking(true);
    return connection;
}

void TcpSocket::SendAll(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t sent = send(ToFd(handle_), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR)
                continue;
            throw TransferError(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
}

std::size_t TcpSocket::Receive(char* buffer, std::size_t capacity)
{
    for (;;) {
        const ssize_t received = recv(ToFd(handle_), buffer, capacity, 0);
        if (received >= 0)
            return static_cast<std::size_t>(received);
        if (errno != EINTR)
            throw TransferError(errno);
    }
}

bool TcpSocket::WaitReadable(int timeoutMs) const
{
    return PollFor(ToFd(handle_), POLLIN, timeoutMs);
}

bool TcpSocket::WaitWritable(int timeoutMs) const
{
    return PollFor(ToFd(handle_), POLLOUT, timeoutMs);
}

void TcpSocket::SetBlocking(bool blocking)
{
    const int fd = ToFd(handle_);
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK) != 0)
        throw LastSystemSocketError();
}

void TcpSocket::SetSendReceiveTimeLimits(int milliseconds)
{
    timeval limit{};
    limit.tv_sec = milliseconds / 1000;
    limit.tv_usec = static_cast<suseconds_t>((milliseconds % 1000) * 1000);
    if (setsockopt(ToFd(handle_), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) != 0 ||
        setsockopt(ToFd(handle_), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) != 0)
        throw LastSystemSocketError();
}

void TcpSocket::Close()
{
    if (handle_ != kNoHandle) {
        close(ToFd(handle_));
        handle_ = kNoHandle;
    }
}

TcpListener::TcpListener(int backlog)
{
    StartSockets();
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        throw LastSystemSocketError();
    handle_ = fd;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, backlog) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        const SocketError error = LastSystemSocketError();
        Close();
        throw error;
    }
    port_ = ntohs(address.sin_port);
}

TcpSocket TcpListener::Accept(int timeoutMs)
{
    if (!PollFor(ToFd(handle_), POLLIN, timeoutMs))
        return TcpSocket();
    const int fd = accept4(ToFd(handle_), nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        throw LastSystemSocketError();
    return TcpSocket(fd);
}

bool TcpListener::HasPendingConnection() const
{
    return PollFor(ToFd(handle_), POLLIN, 0);
}

void TcpListener::Close()
{
    if (handle_ != TcpSocket::kNoHandle) {
        close(ToFd(handle_));
        handle_ = TcpSocket::kNoHandle;
    }
}

} // namespace platform
