#include "tests/support/unopenable_file.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <stdexcept>

namespace test_support {

UnopenableFile::UnopenableFile(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        throw std::runtime_error("socket path too long: " + path);
    path.copy(address.sun_path, path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        throw std::runtime_error("socket failed");
    const int bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    // The socket file stays after the socket is closed.
    close(fd);
    if (bound != 0)
        throw std::runtime_error("cannot bind " + path);
}

UnopenableFile::~UnopenableFile() = default;

} // namespace test_support
