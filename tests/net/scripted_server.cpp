#include "tests/net/scripted_server.h"

#include <chrono>
#include <memory>
#include <stdexcept>

namespace net_test {

namespace {

constexpr int kServerWaitMs = 10000;

// The bytes of a connection, plain or through the server's TLS session.
class Channel {
public:
    Channel(platform::TcpSocket& socket, ServedConnection& served)
        : socket_(socket), served_(served)
    {
    }

    // Appends what arrives to pending_; false when the client closed or
    // went silent.
    bool ReadMore()
    {
        char block[16384];
        std::size_t count = 0;
        if (tls_) {
            count = tls_->Read(block, sizeof block, kServerWaitMs);
        } else {
            if (!socket_.WaitReadable(kServerWaitMs))
                return false;
            try {
                count = socket_.Receive(block, sizeof block);
            } catch (const platform::SocketError&) {
                return false;
            }
            served_.received.append(block, count);
        }
        pending_.append(block, count);
        return count > 0;
    }

    void ReadRequest()
    {
        for (;;) {
            const auto end = pending_.find("\r\n\r\n");
            if (end != std::string::npos) {
                served_.requests.push_back(pending_.substr(0, end + 4));
                pending_.erase(0, end + 4);
                return;
            }
            if (!ReadMore())
                throw std::runtime_error("no complete request; got: " + pending_);
        }
    }

    void ReadSome()
    {
        if (pending_.empty() && !ReadMore())
            throw std::runtime_error("nothing arrived");
        pending_.clear();
    }

    void Send(const std::string& bytes)
    {
        if (tls_)
            tls_->Write(bytes);
        else
            socket_.SendAll(bytes);
    }

    void StartTls(const TlsServerOptions& options)
    {
        tls_ = StartTlsServerSession(socket_, options);
        const bool shaken = tls_->Handshake(kServerWaitMs);
        served_.tlsVersion = tls_->Version();
        served_.clientSentServerName = tls_->ClientSentServerName();
        if (!shaken)
            throw std::runtime_error("TLS handshake failed: " + tls_->Error());
    }

    void SendPartialRecord(const std::string& bytes) { tls_->WritePartialRecord(bytes); }

    void TrickleRecords(const std::string& bytes, int pauseMs)
    {
        tls_->WriteTrickled(bytes, pauseMs);
    }

    void AwaitClose()
    {
        while (ReadMore()) {
        }
    }

private:
    platform::TcpSocket& socket_;
    ServedConnection& served_;
    std::unique_ptr<TlsServerSession> tls_;
    std::string pending_;
};

} // namespace

ConnectionScript& ConnectionScript::ReadRequest()
{
    steps_.push_back({Step::Kind::ReadRequest, {}, {}});
    return *this;
}

ConnectionScript& ConnectionScript::ReadSome()
{
    steps_.push_back({Step::Kind::ReadSome, {}, {}});
    return *this;
}

ConnectionScript& ConnectionScript::Send(std::string bytes)
{
    steps_.push_back({Step::Kind::Send, std::move(bytes), {}});
    return *this;
}

ConnectionScript& ConnectionScript::StartTls(TlsServerOptions options)
{
    steps_.push_back({Step::Kind::StartTls, {}, std::move(options)});
    return *this;
}

ConnectionScript& ConnectionScript::SendPartialRecord(std::string bytes)
{
    steps_.push_back({Step::Kind::SendPartial, std::move(bytes), {}});
    return *this;
}

ConnectionScript& ConnectionScript::TrickleRecords(std::string bytes, int pauseMs)
{
    steps_.push_back({Step::Kind::TrickleRecords, std::move(bytes), {}, pauseMs});
    return *this;
}

ConnectionScript& ConnectionScript::AwaitClientClose()
{
    steps_.push_back({Step::Kind::AwaitClose, {}, {}});
    return *this;
}

ConnectionScript& ConnectionScript::KeepOpen()
{
    steps_.push_back({Step::Kind::KeepOpen, {}, {}});
    return *this;
}

ConnectionScript& ConnectionScript::Pause(int milliseconds)
{
    steps_.push_back({Step::Kind::Pause, {}, {}, milliseconds});
    return *this;
}

ScriptedServer::ScriptedServer(std::vector<ConnectionScript> scripts)
    : scripts_(std::move(scripts)), served_(scripts_.size()), thread_([this] { Run(); })
{
}

ScriptedServer::~ScriptedServer()
{
    if (thread_.joinable())
        thread_.join();
}

std::string ScriptedServer::Url(std::string_view path, std::string_view scheme) const
{
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(Port()) + std::string(path);
}

std::vector<ServedConnection>& ScriptedServer::Finish()
{
    if (thread_.joinable())
        thread_.join();
    return served_;
}

void ScriptedServer::Run()
{
    using Kind = ConnectionScript::Step::Kind;
    for (std::size_t i = 0; i < scripts_.size(); ++i) {
        ServedConnection& served = served_[i];
        platform::TcpSocket socket = listener_.Accept(kServerWaitMs);
        if (!socket.IsOpen()) {
            served.error = "no connection came";
            continue;
        }
        Channel channel(socket, served);
        try {
            for (const auto& step : scripts_[i].Steps()) {
                switch (step.kind) {
                case Kind::ReadRequest:
                    channel.ReadRequest();
                    break;
                case Kind::ReadSome:
                    channel.ReadSome();
                    break;
                case Kind::Send:
                    channel.Send(step.bytes);
                    break;
                case Kind::StartTls:
                    channel.StartTls(step.tls);
                    break;
                case Kind::SendPartial:
                    channel.SendPartialRecord(step.bytes);
                    break;
                case Kind::TrickleRecords:
                    channel.TrickleRecords(step.bytes, step.milliseconds);
                    break;
                case Kind::AwaitClose:
                    channel.AwaitClose();
                    break;
                case Kind::KeepOpen:
                    served.kept = std::move(socket);
                    break;
                case Kind::Pause:
                    std::this_thread::sleep_for(std::chrono::milliseconds(step.milliseconds));
                    break;
                }
            }
        } catch (const std::exception& error) {
            served.error = error.what();
        }
    }
}

std::string ReplyWithBody(std::string_view statusLine, std::string_view headers,
                          std::string_view body)
{
    return std::string(statusLine) + "\r\n" + std::string(headers) +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

} // namespace net_test
