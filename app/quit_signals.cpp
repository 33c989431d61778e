#include "app/quit_signals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace app {

namespace {

int pipeEnds[2] = {-1, -1};

constexpr int kQuitSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Only async-signal-safe work here: one byte into the pipe.
void OnSignal(int signalNumber)
{
    const auto byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const ssize_t ignored = write(pipeEnds[1], &byte, 1);
}

} // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent)
{
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0)
        return;
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::Drain);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kQuitSignals)
        sigaction(signalNumber, &action, nullptr);
}

QuitSignals::~QuitSignals()
{
    for (const int signalNumber : kQuitSignals)
        std::signal(signalNumber, SIG_DFL);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void QuitSignals::Drain()
{
    char byte = 0;
    while (read(pipeEnds[0], &byte, 1) == 1)
        emit quitRequested(static_cast<unsigned char>(byte));
}

} // namespace app
