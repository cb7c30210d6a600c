#include "TerminationSignals.h"
#include <QSocketNotifier>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int handled[] = {SIGTERM, SIGINT, SIGHUP};
}

int TerminationSignals::pipeEnds[2] = {-1, -1};

TerminationSignals::TerminationSignals()
{
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        qFatal("cannot create the signal pipe");
    notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPending);
    struct sigaction action = {};
    action.sa_handler = &TerminationSignals::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i) {
        sigaction(handled[i], nullptr, &previous[i]);
        // A signal ignored when the program started was ignored on purpose
        // (nohup, a background job of a shell): it stays ignored.
        if (previous[i].sa_handler != SIG_IGN)
            sigaction(handled[i], &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals()
{
    for (int i = 0; i < 3; ++i)
        sigaction(handled[i], &previous[i], nullptr);
    delete notifier;
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

// Runs inside the signal: only the async-signal-safe write is allowed here.
void TerminationSignals::handle(int signalNumber)
{
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = write(pipeEnds[1], &byte, 1);
}

void TerminationSignals::readPending()
{
    unsigned char byte;
    while (read(pipeEnds[0], &byte, 1) == 1)
        Q_EMIT received(byte);
}
