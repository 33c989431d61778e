#include "net/tls_layer.h"

#include "net/error_texts.h"
#include "net/http_error.h"
#include "net/tls_library.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <string>

namespace net {

namespace {

constexpr char kCipherList[] = "AES:ALL:!aNULL:!eNULL:+RC4:@STRENGTH";

constexpr int kCtrlOptions = 32;
constexpr int kCtrlMode = 33;
constexpr int kCtrlSetMinProtoVersion = 123;
constexpr int kCtrlSetMaxProtoVersion = 124;
constexpr long kTls1Version = 0x0301;
constexpr long kModeAutoRetry = 0x00000004;
constexpr int kVerifyNone = 0;
constexpr std::uint64_t kNoSslV3 = 1ULL << 25;
constexpr std::uint64_t kNoTlsV1_2 = 1ULL << 27;
constexpr std::uint64_t kNoTlsV1_1 = 1ULL << 28;
constexpr std::uint64_t kNoTlsV1_3 = 1ULL << 29;

constexpr int kErrorSsl = 1;
constexpr int kErrorWantRead = 2;
constexpr int kErrorWantWrite = 3;
constexpr int kErrorSyscall = 5;
constexpr int kErrorZeroReturn = 6;
constexpr int kReasonUnexpectedEof = 294;

std::string ErrorText(const TlsApi& api, unsigned long error)
{
    char text[256] = {};
    api.ERR_error_string_n(error, text, sizeof text);
    return text;
}

[[noreturn]] void ThrowConnectError(const std::string& text)
{
    throw HttpError(std::string(kErrorConnectingWithSsl) + "\r\n" + text);
}

void Configure(const TlsApi& api, ssl_ctx_st* context)
{
    // OpenSSL 3 refuses the legacy signatures of TLS 1.0 at any higher level.
    api.SSL_CTX_set_security_level(context, 0);
    const std::uint64_t versionsOff = kNoSslV3 | kNoTlsV1_1 | kNoTlsV1_2 | kNoTlsV1_3;
    if (api.SSL_CTX_set_options != nullptr)
        api.SSL_CTX_set_options(context, versionsOff);
    else
        api.SSL_CTX_ctrl(context, kCtrlOptions, static_cast<long>(versionsOff), nullptr);
    api.SSL_CTX_ctrl(context, kCtrlSetMinProtoVersion, kTls1Version, nullptr);
    api.SSL_CTX_ctrl(context, kCtrlSetMaxProtoVersion, kTls1Version, nullptr);
    api.SSL_CTX_ctrl(context, kCtrlMode, kModeAutoRetry, nullptr);
    api.SSL_CTX_set_verify(context, kVerifyNone, nullptr);
}

} // namespace

TlsLayer::~TlsLayer()
{
    Stop(false);
}

bool TlsLayer::LoadLibrary()
{
    if (api_ == nullptr)
        api_ = LoadTlsLibrary();
    return api_ != nullptr;
}

void TlsLayer::StartEncryption(platform::TcpSocket& socket, int socketTimeLimitMs)
{
    if (!LoadLibrary())
        throw HttpError(kCouldNotLoadSslLibrary);
    const TlsApi& api = *api_;
    api.ERR_clear_error();
    context_ = api.SSL_CTX_new(api.TLSv1_client_method());
    if (context_ != nullptr) {
        Configure(api, context_);
        if (api.SSL_CTX_set_cipher_list(context_, kCipherList) == 1)
            ssl_ = api.SSL_new(context_);
    }
    if (ssl_ == nullptr || api.SSL_set_fd(ssl_, static_cast<int>(socket.Native())) != 1) {
        const unsigned long queued = api.ERR_get_error();
        Stop(false);
        ThrowConnectError(ErrorText(api, queued));
    }
    socket.SetSendReceiveTimeLimits(socketTimeLimitMs);
    socketTimeLimitMs_ = socketTimeLimitMs;
    Failure failure;
    // The whole handshake within the limit, however the peer paces it.
    const int result = WithinTime(
        socket, socketTimeLimitMs, [&] { return api.SSL_connect(ssl_); }, failure);
    if (result == 1) {
        socket_ = &socket;
        return;
    }
    Stop(false);
    if (failure.deadlinePassed || failure.WaitedTooLong())
        throw platform::SocketError(platform::kWsaTimedOut);
    if (failure.IsUnannouncedClose(api, result))
        ThrowConnectError(kSslEofViolatesProtocol);
    if (failure.error == kErrorSyscall && failure.queued == 0)
        throw platform::SystemSocketError(failure.systemError);
    ThrowConnectError(ErrorText(api, failure.queued));
}

bool TlsLayer::WaitReadable(int timeoutMs) const
{
    return api_->SSL_pending(ssl_) > 0 || socket_->WaitReadable(timeoutMs);
}

std::size_t TlsLayer::Receive(char* buffer, std::size_t capacity, int waitMs)
{
    const int size = static_cast<int>(std::min<std::size_t>(capacity, INT_MAX));
    Failure failure;
    // A record that arrives a byte at a time has no more time than any data.
    const int result = WithinTime(
        *socket_, waitMs, [&] { return api_->SSL_read(ssl_, buffer, size); }, failure);
    if (result > 0)
        return static_cast<std::size_t>(result);
    if (failure.error == kErrorZeroReturn)
        return 0;
    if (failure.deadlinePassed || failure.WaitedTooLong())
        throw ReadTimeoutError();
    // A peer that closes without saying so ends the data all the same.
    if (failure.IsUnannouncedClose(*api_, result))
        return 0;
    failure.Throw(*api_);
}

void TlsLayer::Send(std::string_view bytes)
{
    while (!bytes.empty()) {
        api_->ERR_clear_error();
        const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
        const int result = api_->SSL_write(ssl_, bytes.data(), size);
        if (result <= 0) {
            const Failure failure = FailureOf(result);
            if (failure.Interrupted())
                continue;
            if (failure.WaitedTooLong())
                throw platform::SocketError(platform::kWsaTimedOut);
            failure.Throw(*api_);
        }
        bytes.remove_prefix(static_cast<std::size_t>(result));
    }
}

template <typename Call>
int TlsLayer::WithinTime(platform::TcpSocket& socket, int timeMs, Call&& call,
                         Failure& failure) const
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeMs);
    socket.SetBlocking(false);
    int result = 0;
    for (;;) {
        api_->ERR_clear_error();
        result = call();
        if (result > 0)
            break;
        failure = FailureOf(result);
        if (failure.error != kErrorWantRead && failure.error != kErrorWantWrite)
            break;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        // Nor may a record stop arriving for longer than the socket's limit.
        const int wait = static_cast<int>(std::clamp<long long>(left, 0, socketTimeLimitMs_));
        const bool ready =
            failure.error == kErrorWantRead ? socket.WaitReadable(wait) : socket.WaitWritable(wait);
        if (!ready) {
            failure.deadlinePassed = true;
            break;
        }
    }
    socket.SetBlocking(true);
    return result;
}

TlsLayer::Failure TlsLayer::FailureOf(int result) const
{
    Failure failure;
    failure.systemError = platform::LastSocketErrorNumber();
    failure.error = api_->SSL_get_error(ssl_, result);
    failure.queued = api_->ERR_get_error();
    api_->ERR_clear_error();
    return failure;
}

// On these blocking sockets the library asks to be called again only when a
// time limit passed or a signal cut a call short.
bool TlsLayer::Failure::WaitedTooLong() const
{
    if (error == kErrorWantRead || error == kErrorWantWrite)
        return !platform::IsInterruptedCall(systemError);
    // Windows reports a receive that ran out of time as a failed call rather
    // than one to retry.
    return error == kErrorSyscall && queued == 0 && systemError != 0 &&
           platform::SystemSocketError(systemError).Code() == platform::kWsaTimedOut;
}

bool TlsLayer::Failure::Interrupted() const
{
    return (error == kErrorWantRead || error == kErrorWantWrite) &&
           platform::IsInterruptedCall(systemError);
}

bool TlsLayer::Failure::IsUnannouncedClose(const TlsApi& api, int result) const
{
    if (error == kErrorSyscall && queued == 0)
        return result == 0 || systemError == 0;
    return error == kErrorSsl && api.ErrorReason(queued) == kReasonUnexpectedEof;
}

void TlsLayer::Failure::Throw(const TlsApi& api) const
{
    if (error == kErrorSyscall && queued == 0)
        throw platform::SystemSocketError(systemError);
    throw HttpError(ErrorText(api, queued));
}

void TlsLayer::Stop(bool tellPeer)
{
    if (ssl_ != nullptr) {
        if (tellPeer)
            api_->SSL_shutdown(ssl_);
        api_->SSL_free(ssl_);
        ssl_ = nullptr;
        socket_ = nullptr;
    }
    if (context_ != nullptr) {
        api_->SSL_CTX_free(context_);
        context_ = nullptr;
    }
}

} // namespace net
