#include "tests/app/local_service.h"

#include "platform/files.h"
#include "platform/socket.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

extern char** environ;

namespace test_support {

namespace {

constexpr int kAttempts = 5;
constexpr auto kStartLimit = std::chrono::seconds(30);

// Four consecutive ports below the range of the system's outgoing ports.
int RandomFirstPort()
{
    static std::mt19937 random(std::random_device{}());
    return std::uniform_int_distribution<int>(20000, 30000)(random);
}

bool Answers(std::uint16_t port)
{
    try {
        platform::TcpSocket::Connect(0x7F000001, port);
        return true;
    } catch (const platform::SocketError&) {
        return false;
    }
}

} // namespace

LocalService::LocalService(const std::vector<std::string>& options)
{
    for (int attempt = 0; attempt < kAttempts && !up_; ++attempt) {
        const int first = RandomFirstPort();
        up_ = Start({first, first + 1, first + 2, first + 3}, options);
    }
}

LocalService::LocalService(Ports ports)
{
    up_ = Start(ports, {});
}

LocalService::~LocalService()
{
    Stop();
}

bool LocalService::Start(Ports ports, const std::vector<std::string>& options)
{
    for (int port : {ports.http, ports.https, ports.english, ports.proxy}) {
        if (Answers(static_cast<std::uint16_t>(port)))
            return false;
    }
    ports_ = ports;
    runtimeDir_ = folder_.File("service-" + std::to_string(ports.http));
    outputFile_ = runtimeDir_ + ".out";

    std::vector<std::string> args = {"bash",           HOPVANE_RUN_LOCAL,
                                     "--runtime-dir",  runtimeDir_,
                                     "--http-port",    std::to_string(ports.http),
                                     "--https-port",   std::to_string(ports.https),
                                     "--english-port", std::to_string(ports.english),
                                     "--proxy-port",   std::to_string(ports.proxy)};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile_.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int spawned = posix_spawn(&pid_, "/bin/bash", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        pid_ = -1;
        return false;
    }

    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (Output().find("\nUp in ") != std::string::npos)
            return true;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Stop();
    return false;
}

void LocalService::Stop()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

std::string LocalService::Output() const
{
    return platform::FileExists(outputFile_) ? platform::ReadWholeFile(outputFile_) : "";
}

net::ServiceSites LocalService::Sites() const
{
    const std::string host = "127.0.0.1:";
    return {"http://" + host + std::to_string(ports_.http),
            "https://" + host + std::to_string(ports_.https),
            "https://" + host + std::to_string(ports_.english)};
}

bool LocalService::StopProxy(const std::string& address) const
{
    const std::string name = "tinyproxy " + address;
    platform::AppendToFile(runtimeDir_ + "/stopped-on-purpose", name + "\n");
    const std::string pids = platform::ReadWholeFile(runtimeDir_ + "/pids");
    const std::size_t line = pids.find(" " + name + "\n");
    if (line == std::string::npos)
        return false;
    const std::size_t start = pids.rfind('\n', line);
    const pid_t pid = std::stoi(pids.substr(start == std::string::npos ? 0 : start + 1));
    return kill(pid, SIGTERM) == 0;
}

std::string LocalService::AccessLog() const
{
    const std::string log = runtimeDir_ + "/logs/nginx-access.log";
    return platform::FileExists(log) ? platform::ReadWholeFile(log) : "";
}

} // namespace test_support
