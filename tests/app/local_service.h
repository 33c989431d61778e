#pragma once

#include "net/service_endpoints.h"
#include "tests/support/temp_dir.h"

#include <sys/types.h>

#include <string>
#include <vector>

namespace test_support {

// The reference web service with its proxy farm (service/run-local) on free
// loopback ports, for the tests that the real servers answer. It stops when
// the object goes.
class LocalService {
public:
    struct Ports {
        int http;
        int https;
        int english;
        int proxy;
    };
    // The ports the program was built to reach.
    static constexpr Ports kBuiltPorts{18080, 18443, 18444, 18128};

    // Options of run-local beyond the ports and the folder ("--release", "12").
    explicit LocalService(const std::vector<std::string>& options = {});
    // On those ports only; not up when any of them is taken.
    explicit LocalService(Ports ports);
    ~LocalService();
    LocalService(const LocalService&) = delete;
    LocalService& operator=(const LocalService&) = delete;

    // Whether it came up; the reason is in Output() when not.
    bool IsUp() const { return up_; }
    std::string Output() const;
    net::ServiceSites Sites() const;
    // The port every proxy of the farm listens on.
    int ProxyPort() const { return ports_.proxy; }
    // What nginx has logged so far, a line a request.
    std::string AccessLog() const;
    // Stops the farm's proxy that listens on the address, as a proxy of a
    // real list dies; the rest of the farm goes on. False when there is none.
    bool StopProxy(const std::string& address) const;

private:
    bool Start(Ports ports, const std::vector<std::string>& options);
    void Stop();

    TempDir folder_;
    std::string runtimeDir_;
    std::string outputFile_;
    Ports ports_{};
    pid_t pid_ = -1;
    bool up_ = false;
};

} // namespace test_support
