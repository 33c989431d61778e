#include "tests/app/service_stub.h"

#include <algorithm>
#include <chrono>

namespace test_support {

namespace {

constexpr int kWaitMs = 5000;

// The request head, or what came before the client stopped sending.
std::string ReadHead(platform::TcpSocket& socket)
{
    std::string head;
    char block[4096];
    while (head.find("\r\n\r\n") == std::string::npos && socket.WaitReadable(kWaitMs)) {
        const std::size_t count = socket.Receive(block, sizeof block);
        if (count == 0)
            break;
        head.append(block, count);
    }
    return head;
}

std::string PathOf(const std::string& head)
{
    const auto start = head.find(' ') + 1;
    return head.substr(start, head.find(' ', start) - start);
}

} // namespace

ServiceStub::ServiceStub(std::map<std::string, std::string> bodies, bool holdBrowsers,
                         OnRequest onRequest)
    : bodies_(std::move(bodies)), holdBrowsers_(holdBrowsers), onRequest_(std::move(onRequest)),
      thread_([this] { Run(); })
{
}

ServiceStub::~ServiceStub()
{
    stopping_ = true;
    thread_.join();
}

net::ServiceSites ServiceStub::Sites() const
{
    const std::string base = "http://127.0.0.1:" + std::to_string(listener_.Port());
    return {base, base, base + "/en"};
}

std::vector<std::string> ServiceStub::Requests() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

bool ServiceStub::AwaitRequest(const std::string& request) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, std::chrono::milliseconds(kWaitMs), [&] {
        return std::find(requests_.begin(), requests_.end(), request) != requests_.end();
    });
}

void ServiceStub::Run()
{
    while (!stopping_) {
        platform::TcpSocket socket = listener_.Accept(50);
        if (socket.IsOpen())
            Serve(std::move(socket));
    }
}

void ServiceStub::Serve(platform::TcpSocket socket)
{
    const std::string head = ReadHead(socket);
    if (head.empty())
        return;
    const std::string path = PathOf(head);
    const bool browser = head.find("Indy Library") == std::string::npos;
    if (onRequest_)
        onRequest_(path);
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(browser ? path + " browser" : path);
    }
    arrived_.notify_all();
    if (browser && holdBrowsers_) {
        held_.push_back(std::move(socket));
        return;
    }
    const auto found = bodies_.find(path);
    const std::string body = found == bodies_.end() ? "not here" : found->second;
    socket.SendAll(
        std::string(found == bodies_.end() ? "HTTP/1.1 404 Not Found" : "HTTP/1.1 200 OK") +
        "\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: " +
        std::to_string(body.size()) + "\r\n\r\n" + body);
}

} // namespace test_support
