#include "HistoryDatabase.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTextStream>
#include <QVariant>
#include <atomic>

namespace {
// Each step brings the file from the version before it to its own.
const std::vector<std::vector<const char *>> migrations = {
    {
        "CREATE TABLE sessions (id INTEGER PRIMARY KEY, started TEXT NOT NULL)",
        "CREATE TABLE decisions (id INTEGER PRIMARY KEY, time TEXT NOT NULL, session INTEGER NOT NULL,"
        " hand_cards TEXT NOT NULL, up_card TEXT NOT NULL, chart_row INTEGER NOT NULL,"
        " chart_column INTEGER NOT NULL, advice_mode TEXT NOT NULL, action TEXT NOT NULL,"
        " advice TEXT NOT NULL, value_stand REAL NOT NULL, value_hit REAL NOT NULL, value_double REAL,"
        " value_split REAL, cost REAL NOT NULL, drill INTEGER NOT NULL)",
        "CREATE TABLE hands (id INTEGER PRIMARY KEY, time TEXT NOT NULL, session INTEGER NOT NULL,"
        " result TEXT NOT NULL, amount INTEGER NOT NULL, bank_after INTEGER NOT NULL, drill INTEGER NOT NULL)",
    },
    {
        // The statistics group by cell and by session; the indexes hold every
        // column they sum, so the sums never visit the table itself.
        "CREATE INDEX decisions_by_cell ON decisions (chart_row, chart_column, action, advice, cost)",
        "CREATE INDEX decisions_by_session ON decisions (session, action, advice, cost)",
    },
};

QString timeText(const QDateTime &time)
{
    return time.toString(Qt::ISODateWithMs);
}

QVariant optionalValue(const std::optional<double> &value)
{
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::Double));
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
}

HistoryDatabase::HistoryDatabase(const QString &path) : path(path)
{
    static std::atomic<int> opened{0};
    connectionName = QStringLiteral("history-%1").arg(++opened);
    static_assert(schemaVersion == 2, "one migration step per version");

    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        why = QStringLiteral("its folder cannot be written");
        return;
    }
    lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    lock->setStaleLockTime(0); // a lock is stale only when its program is gone
    if (!lock->tryLock(0)) {
        why = lock->error() == QLockFile::LockFailedError ? QStringLiteral("another copy is recording")
                                                          : QStringLiteral("its folder cannot be written");
        lock.reset();
        openFile(true);
        return;
    }
    if (!openFile(false))
        return;
    int version = userVersion();
    if (version == damaged) {
        moveAside();
        if (!openFile(false))
            return;
        version = userVersion();
    }
    if (version < 0) {
        why = QStringLiteral("it cannot be read");
        return;
    }
    if (version > schemaVersion) {
        openFile(true);
        why = QStringLiteral("it was written by a newer Vantrel");
        return;
    }
    QSqlQuery pragma(connection());
    pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    pragma.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    if (migrate(version))
        currentState = State::Recording;
}

HistoryDatabase::~HistoryDatabase()
{
    QSqlDatabase::database(connectionName, false).close();
    QSqlDatabase::removeDatabase(connectionName);
}

QString HistoryDatabase::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/history.sqlite");
}

bool HistoryDatabase::openFile(bool readOnly)
{
    {
        QSqlDatabase old = QSqlDatabase::database(connectionName, false);
        old.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (readOnly && !QFileInfo::exists(path))
        return false;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    // A file busy in another program is given up on at once, not after the
    // driver's five seconds.
    db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=50;QSQLITE_OPEN_READONLY")
                                  : QStringLiteral("QSQLITE_BUSY_TIMEOUT=50"));
    if (!db.open()) {
        why = QStringLiteral("it cannot be opened");
        return false;
    }
    currentState = readOnly ? State::ReadOnly : State::Closed;
    return true;
}

int HistoryDatabase::userVersion()
{
    // Reading the table list fails on a file that is not a database.
    QSqlQuery query(connection());
    if (query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && query.exec(QStringLiteral("PRAGMA user_version"))
        && query.next())
        return query.value(0).toInt();
    // SQLITE_CORRUPT and SQLITE_NOTADB; anything else (a file busy in another
    // program) is no reason to move the file.
    const QString code = query.lastError().nativeErrorCode();
    return code == QLatin1String("11") || code == QLatin1String("26") ? damaged : unreadable;
}

void HistoryDatabase::moveAside()
{
    QSqlDatabase::database(connectionName, false).close();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString target = path + QStringLiteral(".corrupt-") + stamp;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = path + QStringLiteral(".corrupt-") + stamp + QStringLiteral("-%1").arg(n);
    if (QFile::rename(path, target))
        movedTo = target;
    for (const char *companion : {"-wal", "-shm"}) {
        const QString name = path + QLatin1String(companion);
        if (QFileInfo::exists(name))
            QFile::rename(name, target + QLatin1String(companion));
    }
}

bool HistoryDatabase::migrate(int from)
{
    QSqlDatabase db = connection();
    for (int version = from + 1; version <= schemaVersion; ++version) {
        db.transaction();
        QSqlQuery query(db);
        bool ok = true;
        for (const char *statement : migrations[version - 1])
            ok = ok && query.exec(QLatin1String(statement));
        ok = ok && query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
        if (!ok || !db.commit()) {
            db.rollback();
            why = QStringLiteral("it cannot be written");
            return false;
        }
    }
    return true;
}

void HistoryDatabase::stopRecording(const QString &reason)
{
    why = reason;
    currentState = State::ReadOnly;
}

qint64 HistoryDatabase::startSession()
{
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("INSERT INTO sessions (started) VALUES (?)"));
    query.addBindValue(timeText(QDateTime::currentDateTimeUtc()));
    return query.exec() ? query.lastInsertId().toLongLong() : 0;
}

bool HistoryDatabase::writeRound(const std::vector<DecisionRecord> &decisions, const std::vector<HandRecord> &hands)
{
    if (!isRecording())
        return false;
    QSqlDatabase db = connection();
    bool ok = db.transaction();
    const qint64 sessionBefore = session;
    if (ok && session == 0) {
        session = startSession();
        ok = session != 0;
    }
    QSqlQuery insert(db);
    if (ok && !decisions.empty()) {
        ok = insert.prepare(QStringLiteral(
            "INSERT INTO decisions (time, session, hand_cards, up_card, chart_row, chart_column, advice_mode, action,"
            " advice, value_stand, value_hit, value_double, value_split, cost, drill)"
            " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (const DecisionRecord &d : decisions) {
            if (!ok)
                break;
            insert.addBindValue(timeText(d.time));
            insert.addBindValue(session);
            insert.addBindValue(d.handCards);
            insert.addBindValue(d.upCard);
            insert.addBindValue(d.cell.row);
            insert.addBindValue(d.cell.column);
            insert.addBindValue(d.adviceAlways ? QStringLiteral("always") : QStringLiteral("after error"));
            insert.addBindValue(QString(QLatin1Char(d.action)));
            insert.addBindValue(QString(QLatin1Char(d.advice)));
            insert.addBindValue(d.stand);
            insert.addBindValue(d.hit);
            insert.addBindValue(optionalValue(d.doubleDown));
            insert.addBindValue(optionalValue(d.split));
            insert.addBindValue(d.cost);
            insert.addBindValue(d.drill ? 1 : 0);
            ok = insert.exec();
        }
    }
    if (ok && !hands.empty()) {
        ok = insert.prepare(QStringLiteral(
            "INSERT INTO hands (time, session, result, amount, bank_after, drill) VALUES (?, ?, ?, ?, ?, ?)"));
        for (const HandRecord &h : hands) {
            if (!ok)
                break;
            insert.addBindValue(timeText(h.time));
            insert.addBindValue(session);
            insert.addBindValue(h.amount > 0 ? QStringLiteral("win") : h.amount < 0 ? QStringLiteral("loss")
                                                                                    : QStringLiteral("push"));
            insert.addBindValue(h.amount);
            insert.addBindValue(h.bankAfter);
            insert.addBindValue(h.drill ? 1 : 0);
            ok = insert.exec();
        }
    }
    if (ok && db.commit())
        return true;
    db.rollback();
    session = sessionBefore;
    stopRecording(QStringLiteral("it cannot be written"));
    return false;
}

bool HistoryDatabase::reset()
{
    if (!isRecording())
        return false;
    QSqlDatabase db = connection();
    db.transaction();
    QSqlQuery query(db);
    const bool ok = query.exec(QStringLiteral("DELETE FROM decisions")) && query.exec(QStringLiteral("DELETE FROM hands"))
                    && query.exec(QStringLiteral("DELETE FROM sessions"));
    if (ok && db.commit()) {
        session = 0;
        return true;
    }
    db.rollback();
    return false;
}

bool HistoryDatabase::exportCsv(const QString &fileName) const
{
    QFile file(fileName);
    if (currentState == State::Closed || !file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT time, session, hand_cards, up_card, chart_row, chart_column, advice_mode, action, advice,"
            " value_stand, value_hit, value_double, value_split, cost, drill FROM decisions ORDER BY id")))
        return false;
    QTextStream out(&file);
    const QSqlRecord columns = query.record();
    for (int i = 0; i < columns.count(); ++i)
        out << (i ? "," : "") << columns.fieldName(i);
    out << '\n';
    while (query.next()) {
        for (int i = 0; i < columns.count(); ++i)
            out << (i ? "," : "") << csvField(query.value(i).toString());
        out << '\n';
    }
    return out.status() == QTextStream::Ok;
}
