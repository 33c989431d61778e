#include "platform/socket.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

TEST(SocketErrors, SystemNumbersBecomeWindowsSocketsNumbers)
{
    EXPECT_EQ(SystemSocketError(ECONNREFUSED).Code(), 10061);
    EXPECT_EQ(SystemSocketError(ETIMEDOUT).Code(), 10060);
    EXPECT_EQ(SystemSocketError(EHOSTUNREACH).Code(), 10065);
    EXPECT_EQ(SystemSocketError(ENETUNREACH).Code(), 10051);
    EXPECT_EQ(SystemSocketError(ECONNRESET).Code(), 10054);
    EXPECT_EQ(SystemSocketError(EPIPE).Code(), 10054);
}

TEST(SocketErrors, UnmappedNumberKeepsItsOwnNumberAndText)
{
    const SocketError error = SystemSocketError(EPERM);
    EXPECT_EQ(error.Code(), EPERM);
    EXPECT_EQ(std::string(error.what()),
              "Socket Error # " + std::to_string(EPERM) + "\r\n" + std::strerror(EPERM));
}

} // namespace
} // namespace platform
