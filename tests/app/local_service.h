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
    // Options of run-local beyond the ports and the folder ("--release", "12").
    explicit LocalService(const std::vector<std::string>& options = {});
    ~LocalService();
    LocalService(const LocalService&) = delete;
    LocalService& operator=(const LocalService&) = delete;

    // Whether it came up; the reason is in Output() when not.
    bool IsUp() const { return up_; }
    std::string Output() const;
    net::ServiceSites Sites() const;
    // The port every proxy of the farm listens on.
    int ProxyPort() const { return firstPort_ + 3; }
    // What nginx has logged so far, a line a request.
    std::string AccessLog() const;

private:
    bool Start(int firstPort, const std::vector<std::string>& options);
    void Stop();

    TempDir folder_;
    std::string runtimeDir_;
    std::string outputFile_;
    int firstPort_ = 0;
    pid_t pid_ = -1;
    bool up_ = false;
};

} // namespace test_support
