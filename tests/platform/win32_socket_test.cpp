#include "platform/socket.h"

#include <gtest/gtest.h>
#include <winsock2.h> // and windows.h after it

#include <string>

namespace platform {
namespace {

TEST(Win32SocketErrors, WindowsSocketsNumbersAreTakenAsTheyAre)
{
    EXPECT_STREQ(SystemSocketError(WSAECONNREFUSED).what(),
                 "Socket Error # 10061\r\nConnection refused.");
    EXPECT_STREQ(SystemSocketError(WSAETIMEDOUT).what(),
                 "Socket Error # 10060\r\nConnection timed out.");
    EXPECT_STREQ(SystemSocketError(WSAHOST_NOT_FOUND).what(),
                 "Socket Error # 11001\r\nHost not found.");
    EXPECT_EQ(SystemSocketError(WSAECONNRESET).Code(), 10054);
    EXPECT_TRUE(IsInterruptedCall(WSAEINTR));
    EXPECT_FALSE(IsInterruptedCall(WSAETIMEDOUT));
}

TEST(Win32SocketErrors, OtherNumbersKeepTheSystemsTextWithoutItsLineEnd)
{
    // What the resolver reports when memory runs out.
    const std::string message = SystemSocketError(WSA_NOT_ENOUGH_MEMORY).what();
    const std::string prefix = "Socket Error # 8\r\n";
    ASSERT_EQ(message.rfind(prefix, 0), 0u) << message;
    const std::string text = message.substr(prefix.size());
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text, "Error 8") << "the system gave no text";
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
}

TEST(Win32Sockets, ConnectedAndAcceptedSocketsAreNotHandedDown)
{
    TcpListener listener;
    const TcpSocket client = TcpSocket::Connect(0x7F000001, listener.Port());
    const TcpSocket server = listener.Accept(5000);
    ASSERT_TRUE(server.IsOpen());
    for (const TcpSocket* socket : {&client, &server}) {
        DWORD flags = HANDLE_FLAG_INHERIT;
        ASSERT_TRUE(GetHandleInformation(reinterpret_cast<HANDLE>(socket->Native()), &flags));
        EXPECT_EQ(flags & HANDLE_FLAG_INHERIT, 0u);
    }
}

} // namespace
} // namespace platform
