#include "tests/net/tls_test_server.h"

#include "platform/dynamic_library.h"
#include "tests/support/temp_dir.h"

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

struct ssl_st;
struct ssl_ctx_st;
struct bio_st;

namespace net_test {

namespace {

struct ssl_method;

// The server side's own share of OpenSSL.
struct ServerApi {
    std::unique_ptr<platform::DynamicLibrary> crypto;
    std::unique_ptr<platform::DynamicLibrary> ssl;
    const ssl_method* (*TLS_server_method)() = nullptr;
    ssl_ctx_st* (*SSL_CTX_new)(const ssl_method*) = nullptr;
    void (*SSL_CTX_free)(ssl_ctx_st*) = nullptr;
    long (*SSL_CTX_ctrl)(ssl_ctx_st*, int, long, void*) = nullptr;
    void (*SSL_CTX_set_security_level)(ssl_ctx_st*, int) = nullptr;
    int (*SSL_CTX_set_cipher_list)(ssl_ctx_st*, const char*) = nullptr;
    int (*SSL_CTX_use_certificate_file)(ssl_ctx_st*, const char*, int) = nullptr;
    int (*SSL_CTX_use_PrivateKey_file)(ssl_ctx_st*, const char*, int) = nullptr;
    ssl_st* (*SSL_new)(ssl_ctx_st*) = nullptr;
    void (*SSL_free)(ssl_st*) = nullptr;
    void (*SSL_set_bio)(ssl_st*, bio_st*, bio_st*) = nullptr;
    void (*SSL_set_accept_state)(ssl_st*) = nullptr;
    int (*SSL_do_handshake)(ssl_st*) = nullptr;
    int (*SSL_read)(ssl_st*, void*, int) = nullptr;
    int (*SSL_write)(ssl_st*, const void*, int) = nullptr;
    int (*SSL_get_error)(const ssl_st*, int) = nullptr;
    int (*SSL_version)(const ssl_st*) = nullptr;
    const char* (*SSL_get_servername)(const ssl_st*, int) = nullptr;
    const void* (*BIO_s_mem)() = nullptr;
    bio_st* (*BIO_new)(const void*) = nullptr;
    int (*BIO_read)(bio_st*, void*, int) = nullptr;
    int (*BIO_write)(bio_st*, const void*, int) = nullptr;
    unsigned long (*ERR_get_error)() = nullptr;
    void (*ERR_error_string_n)(unsigned long, char*, std::size_t) = nullptr;
};

constexpr int kCtrlSetMinProtoVersion = 123;
constexpr int kCtrlSetMaxProtoVersion = 124;
constexpr int kFiletypePem = 1;
constexpr int kErrorWantRead = 2;
constexpr int kNameTypeHostName = 0;

template <typename Function>
void Find(const platform::DynamicLibrary& library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(library.Symbol(name));
    if (function == nullptr)
        throw std::runtime_error(std::string("test OpenSSL lacks ") + name);
}

std::unique_ptr<ServerApi> LoadServerApi()
{
    auto api = std::make_unique<ServerApi>();
    api->crypto = platform::DynamicLibrary::Open("libcrypto.so.3");
    api->ssl = platform::DynamicLibrary::Open("libssl.so.3");
    if (!api->crypto || !api->ssl)
        return nullptr;
    const auto& s = *api->ssl;
    const auto& c = *api->crypto;
    Find(s, "TLS_server_method", api->TLS_server_method);
    Find(s, "SSL_CTX_new", api->SSL_CTX_new);
    Find(s, "SSL_CTX_free", api->SSL_CTX_free);
    Find(s, "SSL_CTX_ctrl", api->SSL_CTX_ctrl);
    Find(s, "SSL_CTX_set_security_level", api->SSL_CTX_set_security_level);
    Find(s, "SSL_CTX_set_cipher_list", api->SSL_CTX_set_cipher_list);
    Find(s, "SSL_CTX_use_certificate_file", api->SSL_CTX_use_certificate_file);
    Find(s, "SSL_CTX_use_PrivateKey_file", api->SSL_CTX_use_PrivateKey_file);
    Find(s, "SSL_new", api->SSL_new);
    Find(s, "SSL_free", api->SSL_free);
    Find(s, "SSL_set_bio", api->SSL_set_bio);
    Find(s, "SSL_set_accept_state", api->SSL_set_accept_state);
    Find(s, "SSL_do_handshake", api->SSL_do_handshake);
    Find(s, "SSL_read", api->SSL_read);
    Find(s, "SSL_write", api->SSL_write);
    Find(s, "SSL_get_error", api->SSL_get_error);
    Find(s, "SSL_version", api->SSL_version);
    Find(s, "SSL_get_servername", api->SSL_get_servername);
    Find(c, "BIO_s_mem", api->BIO_s_mem);
    Find(c, "BIO_new", api->BIO_new);
    Find(c, "BIO_read", api->BIO_read);
    Find(c, "BIO_write", api->BIO_write);
    Find(c, "ERR_get_error", api->ERR_get_error);
    Find(c, "ERR_error_string_n", api->ERR_error_string_n);
    return api;
}

const ServerApi* Api()
{
    static const std::unique_ptr<ServerApi> api = LoadServerApi();
    return api.get();
}

// A self-signed certificate made once per test process.
struct Certificate {
    test_support::TempDir folder;
    std::string certificate = folder.File("cert.pem");
    std::string key = folder.File("key.pem");

    Certificate()
    {
        const std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -keyout '" + key +
                                    "' -out '" + certificate +
                                    "' -days 30 -subj /CN=127.0.0.1 >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("openssl req failed");
    }
};

const Certificate& TestCertificate()
{
    static const Certificate certificate;
    return certificate;
}

std::string ErrorQueueText(const ServerApi& api)
{
    char text[256] = {};
    api.ERR_error_string_n(api.ERR_get_error(), text, sizeof text);
    return text;
}

// Records go through memory BIOs, so a test decides what reaches the socket.
class OpenSslServerSession final : public TlsServerSession {
public:
    OpenSslServerSession(platform::TcpSocket& socket, const TlsServerOptions& options)
        : socket_(socket)
    {
        const ServerApi& api = *Api();
        const Certificate& certificate = TestCertificate();
        context_ = api.SSL_CTX_new(api.TLS_server_method());
        api.SSL_CTX_set_security_level(context_, 0);
        const long version =
            options.versions == TlsServerOptions::Versions::Tls10Only ? 0x0301 : 0x0303;
        api.SSL_CTX_ctrl(context_, kCtrlSetMinProtoVersion, version, nullptr);
        api.SSL_CTX_ctrl(context_, kCtrlSetMaxProtoVersion, version, nullptr);
        if (api.SSL_CTX_set_cipher_list(context_, options.cipherList.c_str()) != 1 ||
            api.SSL_CTX_use_certificate_file(context_, certificate.certificate.c_str(),
                                             kFiletypePem) != 1 ||
            api.SSL_CTX_use_PrivateKey_file(context_, certificate.key.c_str(), kFiletypePem) != 1)
            throw std::runtime_error("test TLS server set-up failed: " + ErrorQueueText(api));
        ssl_ = api.SSL_new(context_);
        input_ = api.BIO_new(api.BIO_s_mem());
        output_ = api.BIO_new(api.BIO_s_mem());
        api.SSL_set_bio(ssl_, input_, output_);
        api.SSL_set_accept_state(ssl_);
    }

    ~OpenSslServerSession() override
    {
        Api()->SSL_free(ssl_);
        Api()->SSL_CTX_free(context_);
    }

    OpenSslServerSession(const OpenSslServerSession&) = delete;
    OpenSslServerSession& operator=(const OpenSslServerSession&) = delete;

    bool Handshake(int timeoutMs) override
    {
        const ServerApi& api = *Api();
        for (;;) {
            const int result = api.SSL_do_handshake(ssl_);
            socket_.SendAll(TakeOutput());
            if (result == 1)
                return true;
            if (api.SSL_get_error(ssl_, result) != kErrorWantRead) {
                error_ = ErrorQueueText(api);
                return false;
            }
            if (!ReceiveInput(timeoutMs)) {
                error_ = "client went away during the handshake";
                return false;
            }
        }
    }

    std::size_t Read(char* buffer, std::size_t capacity, int timeoutMs) override
    {
        const ServerApi& api = *Api();
        for (;;) {
            const int result = api.SSL_read(ssl_, buffer, static_cast<int>(capacity));
            if (result > 0)
                return static_cast<std::size_t>(result);
            if (api.SSL_get_error(ssl_, result) != kErrorWantRead)
                return 0;
            socket_.SendAll(TakeOutput());
            if (!ReceiveInput(timeoutMs))
                return 0;
        }
    }

    void Write(std::string_view bytes) override
    {
        Api()->SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size()));
        socket_.SendAll(TakeOutput());
    }

    void WritePartialRecord(std::string_view bytes) override
    {
        Api()->SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size()));
        const std::string records = TakeOutput();
        socket_.SendAll(std::string_view(records).substr(0, records.size() / 2));
    }

    void WriteTrickled(std::string_view bytes, int pauseMs) override
    {
        Api()->SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size()));
        const std::string records = TakeOutput();
        for (const char byte : records) {
            socket_.SendAll(std::string_view(&byte, 1));
            std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        }
    }

    const std::string& Error() const override { return error_; }

    int Version() const override { return Api()->SSL_version(ssl_); }

    bool ClientSentServerName() const override
    {
        return Api()->SSL_get_servername(ssl_, kNameTypeHostName) != nullptr;
    }

private:
    std::string TakeOutput()
    {
        std::string output;
        char block[16384];
        for (;;) {
            const int count = Api()->BIO_read(output_, block, sizeof block);
            if (count <= 0)
                return output;
            output.append(block, static_cast<std::size_t>(count));
        }
    }

    bool ReceiveInput(int timeoutMs)
    {
        if (!socket_.WaitReadable(timeoutMs))
            return false;
        char block[16384];
        std::size_t count = 0;
        try {
            count = socket_.Receive(block, sizeof block);
        } catch (const platform::SocketError&) {
            return false;
        }
        if (count == 0)
            return false;
        Api()->BIO_write(input_, block, static_cast<int>(count));
        return true;
    }

    platform::TcpSocket& socket_;
    ssl_ctx_st* context_ = nullptr;
    ssl_st* ssl_ = nullptr;
    bio_st* input_ = nullptr;
    bio_st* output_ = nullptr;
    std::string error_;
};

} // namespace

bool PrepareTlsServers()
{
    if (Api() == nullptr)
        return false;
    TestCertificate();
    return true;
}

std::unique_ptr<TlsServerSession> StartTlsServerSession(platform::TcpSocket& socket,
                                                        const TlsServerOptions& options)
{
    return std::make_unique<OpenSslServerSession>(socket, options);
}

} // namespace net_test
