#include "net/tls_library.h"

#include "platform/dynamic_library.h"

#include <memory>
#include <mutex>

namespace net {

namespace {

constexpr std::uint64_t kInitLoadCryptoStrings = 0x00000002;
constexpr std::uint64_t kInitLoadSslStrings = 0x00200000;
constexpr unsigned long kFirstVersion3 = 0x30000000UL;

struct LoadedLibrary {
    std::unique_ptr<platform::DynamicLibrary> crypto;
    std::unique_ptr<platform::DynamicLibrary> ssl;
    TlsApi api{};
};

struct LibraryState {
    std::vector<TlsLibraryFiles> files = DefaultTlsLibraryFiles();
    // Every library ever loaded stays: a connection may still use one that
    // a test has set aside.
    std::vector<std::unique_ptr<LoadedLibrary>> loaded;
    const TlsApi* current = nullptr;
};

std::mutex& LoadLock()
{
    static std::mutex lock;
    return lock;
}

LibraryState& State()
{
    static LibraryState* const state = new LibraryState;
    return *state;
}

template <typename Function>
bool Find(const platform::DynamicLibrary& library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(library.Symbol(name));
    return function != nullptr;
}

bool FindAll(const LoadedLibrary& library, TlsApi& api)
{
    const auto& ssl = *library.ssl;
    const auto& crypto = *library.crypto;
    Find(ssl, "SSL_CTX_set_options", api.SSL_CTX_set_options);
    return Find(crypto, "OpenSSL_version_num", api.OpenSSL_version_num) &&
           Find(ssl, "OPENSSL_init_ssl", api.OPENSSL_init_ssl) &&
           Find(ssl, "TLSv1_client_method", api.TLSv1_client_method) &&
           Find(ssl, "SSL_CTX_new", api.SSL_CTX_new) &&
           Find(ssl, "SSL_CTX_free", api.SSL_CTX_free) &&
           Find(ssl, "SSL_CTX_ctrl", api.SSL_CTX_ctrl) &&
           Find(ssl, "SSL_CTX_set_cipher_list", api.SSL_CTX_set_cipher_list) &&
           Find(ssl, "SSL_CTX_set_verify", api.SSL_CTX_set_verify) &&
           Find(ssl, "SSL_CTX_set_security_level", api.SSL_CTX_set_security_level) &&
           Find(ssl, "SSL_new", api.SSL_new) && Find(ssl, "SSL_free", api.SSL_free) &&
           Find(ssl, "SSL_set_fd", api.SSL_set_fd) && Find(ssl, "SSL_connect", api.SSL_connect) &&
           Find(ssl, "SSL_read", api.SSL_read) && Find(ssl, "SSL_write", api.SSL_write) &&
           Find(ssl, "SSL_pending", api.SSL_pending) &&
           Find(ssl, "SSL_shutdown", api.SSL_shutdown) &&
           Find(ssl, "SSL_get_error", api.SSL_get_error) &&
           Find(crypto, "ERR_get_error", api.ERR_get_error) &&
           Find(crypto, "ERR_error_string_n", api.ERR_error_string_n) &&
           Find(crypto, "ERR_clear_error", api.ERR_clear_error);
}

std::unique_ptr<LoadedLibrary> Load(const TlsLibraryFiles& files)
{
    auto library = std::make_unique<LoadedLibrary>();
    library->crypto = platform::DynamicLibrary::Open(files.crypto);
    if (!library->crypto)
        return nullptr;
    library->ssl = platform::DynamicLibrary::Open(files.ssl);
    if (!library->ssl || !FindAll(*library, library->api))
        return nullptr;
    // Registers the ciphers, digests and error texts; OpenSSL 1.1 and later
    // guard their shared state themselves, so no locking callbacks are due.
    if (library->api.OPENSSL_init_ssl(kInitLoadSslStrings | kInitLoadCryptoStrings, nullptr) != 1)
        return nullptr;
    return library;
}

} // namespace

int TlsApi::ErrorReason(unsigned long error) const
{
    return static_cast<int>(IsVersion3() ? error & 0x7FFFFFUL : error & 0xFFFUL);
}

bool TlsApi::IsVersion3() const
{
    return OpenSSL_version_num() >= kFirstVersion3;
}

std::vector<TlsLibraryFiles> DefaultTlsLibraryFiles()
{
#ifdef _WIN32
    return {{"libssl-3-x64.dll", "libcrypto-3-x64.dll"},
            {"libssl-1_1-x64.dll", "libcrypto-1_1-x64.dll"}};
#else
    return {{"libssl.so.3", "libcrypto.so.3"}, {"libssl.so.1.1", "libcrypto.so.1.1"}};
#endif
}

const TlsApi* LoadTlsLibrary()
{
    const std::lock_guard<std::mutex> guard(LoadLock());
    LibraryState& state = State();
    if (state.current != nullptr)
        return state.current;
    for (const auto& files : state.files) {
        if (auto library = Load(files)) {
            state.current = &library->api;
            state.loaded.push_back(std::move(library));
            return state.current;
        }
    }
    return nullptr;
}

void SetTlsLibraryFilesForTesting(std::vector<TlsLibraryFiles> files)
{
    const std::lock_guard<std::mutex> guard(LoadLock());
    State().files = std::move(files);
    State().current = nullptr;
}

} // namespace net
