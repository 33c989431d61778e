#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// OpenSSL's own types, only ever handled through pointers.
struct ssl_st;
struct ssl_ctx_st;
struct ssl_method_st;

namespace net {

// The OpenSSL functions the client calls, found in the libraries loaded at
// run time. The program is never linked against them.
struct TlsApi {
    unsigned long (*OpenSSL_version_num)();
    int (*OPENSSL_init_ssl)(std::uint64_t options, const void* settings);
    const ssl_method_st* (*TLSv1_client_method)();
    ssl_ctx_st* (*SSL_CTX_new)(const ssl_method_st* method);
    void (*SSL_CTX_free)(ssl_ctx_st* context);
    long (*SSL_CTX_ctrl)(ssl_ctx_st* context, int command, long value, void* argument);
    // A function since OpenSSL 3 only; before, SSL_CTX_ctrl does its work.
    std::uint64_t (*SSL_CTX_set_options)(ssl_ctx_st* context, std::uint64_t options);
    int (*SSL_CTX_set_cipher_list)(ssl_ctx_st* context, const char* ciphers);
    void (*SSL_CTX_set_verify)(ssl_ctx_st* context, int mode, int (*callback)(int, void*));
    void (*SSL_CTX_set_security_level)(ssl_ctx_st* context, int level);
    ssl_st* (*SSL_new)(ssl_ctx_st* context);
    void (*SSL_free)(ssl_st* ssl);
    int (*SSL_set_fd)(ssl_st* ssl, int fd);
    int (*SSL_connect)(ssl_st* ssl);
    int (*SSL_read)(ssl_st* ssl, void* buffer, int size);
    int (*SSL_write)(ssl_st* ssl, const void* buffer, int size);
    int (*SSL_pending)(const ssl_st* ssl);
    int (*SSL_shutdown)(ssl_st* ssl);
    int (*SSL_get_error)(const ssl_st* ssl, int result);
    unsigned long (*ERR_get_error)();
    void (*ERR_error_string_n)(unsigned long error, char* buffer, std::size_t size);
    void (*ERR_clear_error)();

    // The reason part of an error code, whose layout changed with OpenSSL 3.
    int ErrorReason(unsigned long error) const;
    bool IsVersion3() const;
};

// A library pair to try: the TLS library and the crypto library it needs.
struct TlsLibraryFiles {
    std::string ssl;
    std::string crypto;
};

// OpenSSL 3 first, then the 1.1 series.
std::vector<TlsLibraryFiles> DefaultTlsLibraryFiles();

// The process's TLS library, loaded and initialised by the first caller
// under a process-wide lock, and kept until the process ends. Null when it
// cannot be loaded; a later call tries again.
const TlsApi* LoadTlsLibrary();

// Tests name files that do not exist, to make the load fail. The library
// loaded so far stays in memory but is no longer handed out, so the next
// load tries these files.
void SetTlsLibraryFilesForTesting(std::vector<TlsLibraryFiles> files);

} // namespace net
