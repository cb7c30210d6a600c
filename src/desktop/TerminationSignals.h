#pragma once
#include <QObject>
#include <csignal>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal delivered on the event
// loop, so that a logout, a kill or Ctrl+C closes the table the orderly way
// and its preferences are written. A signal that was ignored when the
// instance was made (`nohup`, a shell's background job) stays ignored. One
// instance at a time; the previous handlers come back when it is destroyed.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    TerminationSignals();
    ~TerminationSignals() override;

Q_SIGNALS:
    void received(int signalNumber);

private:
    static void handle(int signalNumber);
    void readPending();

    static int pipeEnds[2];
    QSocketNotifier *notifier = nullptr;
    struct sigaction previous[3];
};
