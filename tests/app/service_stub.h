#pragma once

#include "net/service_endpoints.h"
#include "platform/socket.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace test_support {

// The web service on loopback for the windows' tests: it answers the
// program's own requests (its client's User-Agent) by path, 404 for a path it
// does not know, and records each request as "PATH" or, for any other client
// (a browser), "PATH browser". Browsers are answered too, or with
// holdBrowsers left waiting for good.
class ServiceStub {
public:
    using OnRequest = std::function<void(const std::string& path)>;

    explicit ServiceStub(std::map<std::string, std::string> bodies, bool holdBrowsers = false,
                         OnRequest onRequest = {});
    ~ServiceStub();
    ServiceStub(const ServiceStub&) = delete;
    ServiceStub& operator=(const ServiceStub&) = delete;

    // Every site on this server, over plain http.
    net::ServiceSites Sites() const;
    std::vector<std::string> Requests() const;
    // Whether the request arrived within a few seconds.
    bool AwaitRequest(const std::string& request) const;

private:
    void Run();
    void Serve(platform::TcpSocket socket);

    std::map<std::string, std::string> bodies_;
    bool holdBrowsers_;
    OnRequest onRequest_;
    platform::TcpListener listener_;
    std::vector<platform::TcpSocket> held_;
    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    std::vector<std::string> requests_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace test_support
