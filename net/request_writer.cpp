#include "net/request_writer.h"

#include "net/ascii_text.h"

namespace net {

namespace {

constexpr char kProtocolVersion[] = "1.1";

// A header goes out only with a value.
void AddHeader(std::string& head, std::string_view name, std::string_view value)
{
    if (value.empty())
        return;
    head.append(name).append(": ").append(value).append("\r\n");
}

} // namespace

std::string BuildGetRequest(const Url& url, std::string_view requestTarget,
                            std::string_view cookieValue)
{
    std::string head = "GET ";
    head.append(requestTarget).append(" HTTP/").append(kProtocolVersion).append("\r\n");
    AddHeader(head, "Host", HostHeaderValue(url));
    AddHeader(head, "Accept", kAcceptValue);
    AddHeader(head, "Accept-Encoding", kAcceptEncodingValue);
    AddHeader(head, "User-Agent", kUserAgentValue);
    AddHeader(head, "Cookie", cookieValue);
    head += "\r\n";
    return ToSevenBitAscii(head);
}

std::string BuildConnectRequest(const Url& url)
{
    std::string head = "CONNECT ";
    head.append(HostAsWritten(url))
        .append(":")
        .append(std::to_string(url.port))
        .append(" HTTP/")
        .append(kProtocolVersion)
        .append("\r\n");
    AddHeader(head, "Pragma", "no-cache");
    AddHeader(head, "Proxy-Connection", "keep-alive");
    AddHeader(head, "Host", HostHeaderValue(url));
    AddHeader(head, "Accept", kAcceptValue);
    AddHeader(head, "User-Agent", kUserAgentValue);
    head += "\r\n";
    return ToSevenBitAscii(head);
}

} // namespace net
