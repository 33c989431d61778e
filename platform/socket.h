#pragma once

#include "platform/socket_error.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The first IPv4 stream address the system resolver returns for an ASCII
// host name, in host byte order. Throws SocketError (11001 when the name is
// unknown).
std::uint32_t ResolveIpv4(const std::string& asciiName);

// The error a failing socket call of the system reported with this number
// (errno here, WSAGetLastError on Windows): the Windows Sockets number and
// text where one fits, else the system's own number and text.
SocketError SystemSocketError(int systemErrorNumber);
// The calling thread's last socket error number, for calls that another
// library made on a socket's native handle; 0 for none.
int LastSocketErrorNumber();
// SystemSocketError of LastSocketErrorNumber.
SocketError LastSystemSocketError();
// Whether the number means that a signal interrupted the call, which is then
// simply made again.
bool IsInterruptedCall(int systemErrorNumber);

// A blocking TCP connection. Moving it hands the connection over; the last
// owner closes it.
class TcpSocket {
public:
    using NativeHandle = std::intptr_t;
    static constexpr NativeHandle kNoHandle = -1;

    TcpSocket() = default;
    ~TcpSocket();
    TcpSocket(TcpSocket&& other) noexcept;
    TcpSocket& operator=(TcpSocket&& other) noexcept;
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Gives up with 10060, as Windows does when its own attempt times out,
    // once timeoutMs passes without an answer. A negative time leaves it to
    // the system, which may wait minutes. Throws SocketError.
    static TcpSocket Connect(std::uint32_t ipv4, std::uint16_t port, int timeoutMs = -1);

    bool IsOpen() const { return handle_ != kNoHandle; }
    NativeHandle Native() const { return handle_; }

    // Every byte, in as few system calls as the system allows. Throws
    // SocketError (10060 when the send time limit passes).
    void SendAll(std::string_view bytes);
    // Waits for data; at most capacity bytes, 0 when the peer has closed.
    // Throws SocketError (10060 when the receive time limit passes).
    std::size_t Receive(char* buffer, std::size_t capacity);
    // Whether Receive would return at once: data, a close or an error is
    // there, or arrives within the time. A negative time waits without end.
    bool WaitReadable(int timeoutMs) const;
    // The limit of every single send and receive call from now on.
    void SetSendReceiveTimeLimits(int milliseconds);
    // Whether a send would take bytes at once, or will within the time.
    bool WaitWritable(int timeoutMs) const;
    // Non-blocking calls return at once when they would wait; a library that
    // works the socket itself then says what it waits for.
    void SetBlocking(bool blocking);
    void Close();

private:
    explicit TcpSocket(NativeHandle handle) : handle_(handle) {}
    friend class TcpListener;

    NativeHandle handle_ = kNoHandle;
};

// A listening socket on 127.0.0.1 for local peers (test servers).
class TcpListener {
public:
    // On a port the system picks. About backlog connections wait to be
    // accepted; the system drops or refuses further attempts. Throws
    // SocketError.
    explicit TcpListener(int backlog = 16);
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    std::uint16_t Port() const { return port_; }
    // A connection that arrives within the time; a socket that is not open
    // when none did.
    TcpSocket Accept(int timeoutMs);
    bool HasPendingConnection() const;
    void Close();

private:
    TcpSocket::NativeHandle handle_ = TcpSocket::kNoHandle;
    std::uint16_t port_ = 0;
};

} // namespace platform
