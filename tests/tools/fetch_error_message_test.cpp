#include "net/http_error.h"
#include "tools/hopvane_fetch/error_message.h"

#include <gtest/gtest.h>

#include <string>

namespace hopvane_fetch {
namespace {

TEST(FetchErrorMessage, ShowsNothingOfTheNetworkRaw)
{
    const std::pair<std::string, std::string> statusLines[] = {
        {"HTTP/1.1 404 Not Found", "HTTP/1.1 404 Not Found"},
        {"HTTP/1.1 400 \x1B[2Jcleared", "The reply was not HTTP: HTTP/1.1 400 \\x1B[2Jcleared"},
        {"", "The reply was not HTTP: its status line is empty."},
        {"\x7F"
         "ELF\x01\x02",
         "The reply was not HTTP: \\x7FELF\\x01\\x02"},
        {"SSH-2.0-OpenSSH", "The reply was not HTTP: SSH-2.0-OpenSSH"},
    };
    for (const auto& [line, printed] : statusLines)
        EXPECT_EQ(ErrorMessage(net::HttpStatusError(line, -1, "")), printed);
    EXPECT_EQ(ErrorMessage(net::HttpError("Read timed out.")), "Read timed out.");
    EXPECT_EQ(ErrorMessage(net::HttpError("Error connecting with SSL.\r\nbad\x07")),
              "Error connecting with SSL.\r\nbad\\x07");
}

} // namespace
} // namespace hopvane_fetch
