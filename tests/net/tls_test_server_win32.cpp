#include "tests/net/tls_test_server.h"

#include <stdexcept>

namespace net_test {

// No OpenSSL is built for mingw-w64: a script that turns to TLS fails here.
std::unique_ptr<TlsServerSession> StartTlsServerSession(platform::TcpSocket&,
                                                        const TlsServerOptions&)
{
    throw std::runtime_error("the test servers have no TLS library on Windows");
}

} // namespace net_test
