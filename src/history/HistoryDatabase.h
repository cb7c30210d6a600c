#pragma once
#include "DecisionRecord.h"
#include "HandRecord.h"
#include "RecordLock.h"
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <memory>
#include <vector>

// The file of every decision and settled hand, in SQLite. One copy of the
// program records at a time; a file it cannot use is never overwritten:
// a damaged one is moved aside, whether found at the start or by a write,
// a newer one is only read, a symbolic link is left alone. The record, its
// journal and its lock are for this user alone (0600, in folders 0700).
class HistoryDatabase {
public:
    enum class State { Recording, ReadOnly, Closed };
    static constexpr int schemaVersion = 5;

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
    // Writes every decision to a new file put in place whole; empty when
    // done, otherwise why not. Only a plain file is ever replaced.
    QString exportCsv(const QString &fileName) const;

private:
    bool openFile(bool readOnly);
    void keepPrivate();
    static bool isDamage(const QSqlError &error);
    // Brings the schema up to date from `version` and sets the journal up.
    bool startUsing(int version);
    // The error that stopped the round; none when it was stored.
    QSqlError tryWrite(const std::vector<DecisionRecord> &decisions, const std::vector<HandRecord> &hands);
    static constexpr int damaged = -1;
    static constexpr int unreadable = -2;
    // The schema version, or `damaged` or `unreadable`.
    int userVersion();
    bool migrate(int from);
    void moveAside();
    void stopRecording(const QSqlError &failure);
    qint64 startSession();

    QString path;
    QString connectionName;
    std::unique_ptr<RecordLock> lock;
    State currentState = State::Closed;
    QString why;
    QString movedTo;
    qint64 session = 0;
};
