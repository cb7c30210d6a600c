#pragma once
#include "DecisionRecord.h"
#include "HandRecord.h"
#include <QLockFile>
#include <QSqlDatabase>
#include <QString>
#include <memory>
#include <vector>

// The file of every decision and settled hand, in SQLite. One copy of the
// program records at a time; a file it cannot use is never overwritten:
// an unreadable one is moved aside, a newer one is only read.
class HistoryDatabase {
public:
    enum class State { Recording, ReadOnly, Closed };
    static constexpr int schemaVersion = 2;

    explicit HistoryDatabase(const QString &path = defaultPath());
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase &) = delete;
    HistoryDatabase &operator=(const HistoryDatabase &) = delete;

    // AppDataLocation/history.sqlite
    static QString defaultPath();

    State state() const { return currentState; }
    bool isRecording() const { return currentState == State::Recording; }
    // Why nothing is recorded; empty while recording.
    QString problem() const { return why; }
    // Where an unreadable file was moved; empty when none was.
    QString movedAside() const { return movedTo; }
    QSqlDatabase connection() const { return QSqlDatabase::database(connectionName, false); }
    // This run's session, made with its first write; 0 before.
    qint64 sessionId() const { return session; }

    // Stores one round in one transaction. On a failure the round is lost,
    // recording stops and `problem` says why.
    bool writeRound(const std::vector<DecisionRecord> &decisions, const std::vector<HandRecord> &hands);
    // Deletes every decision, hand and session.
    bool reset();
    bool exportCsv(const QString &fileName) const;

private:
    bool openFile(bool readOnly);
    static constexpr int damaged = -1;
    static constexpr int unreadable = -2;
    // The schema version, or `damaged` or `unreadable`.
    int userVersion();
    bool migrate(int from);
    void moveAside();
    void stopRecording(const QString &reason);
    qint64 startSession();

    QString path;
    QString connectionName;
    std::unique_ptr<QLockFile> lock;
    State currentState = State::Closed;
    QString why;
    QString movedTo;
    qint64 session = 0;
};
