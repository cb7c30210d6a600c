#include "HistoryDatabase.h"
#include "PrivateFiles.h"
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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
    {
        // A mistake is a choice other than the advice that is no better for
        // the exact cards; its cost is measured against the advised action,
        // worked out again from the stored values. Rows outside the ranges
        // below cannot be counted: they are kept apart, never summed.
        // Values lie within a doubled stake won or lost twice over (two split
        // hands, each doubled: 4 x 25 chips); a cost within a doubled stake
        // won against one lost.
        "CREATE TABLE checked_decisions (id INTEGER PRIMARY KEY, time TEXT NOT NULL,"
        " session INTEGER NOT NULL CHECK (typeof(session) = 'integer'),"
        " hand_cards TEXT NOT NULL, up_card TEXT NOT NULL,"
        " chart_row INTEGER NOT NULL CHECK (typeof(chart_row) = 'integer' AND chart_row BETWEEN 0 AND 27),"
        " chart_column INTEGER NOT NULL CHECK (typeof(chart_column) = 'integer' AND chart_column BETWEEN 0 AND 9),"
        " advice_mode TEXT NOT NULL CHECK (advice_mode IN ('always', 'after error')),"
        " action TEXT NOT NULL CHECK (action IN ('h', 's', 'd', 'p')),"
        " advice TEXT NOT NULL CHECK (advice IN ('h', 's', 'd', 'p')),"
        " value_stand REAL NOT NULL CHECK (value_stand BETWEEN -100 AND 100),"
        " value_hit REAL NOT NULL CHECK (value_hit BETWEEN -100 AND 100),"
        " value_double REAL CHECK (value_double BETWEEN -100 AND 100),"
        " value_split REAL CHECK (value_split BETWEEN -100 AND 100),"
        " cost REAL NOT NULL CHECK (cost BETWEEN 0 AND 100),"
        " off_chart INTEGER NOT NULL CHECK (off_chart IN (0, 1) AND (off_chart = 0 OR action <> advice)),"
        " drill INTEGER NOT NULL CHECK (drill IN (0, 1)),"
        " CHECK ('d' NOT IN (action, advice) OR value_double IS NOT NULL),"
        " CHECK ('p' NOT IN (action, advice) OR value_split IS NOT NULL))",
        // A NULL advised or chosen value makes the cost NULL, and the row is
        // refused like any other that fails a check.
        "INSERT OR IGNORE INTO checked_decisions SELECT id, time, session, hand_cards, up_card, chart_row,"
        " chart_column, advice_mode, action, advice, value_stand, value_hit, value_double, value_split,"
        " max(0, advised - chosen), chosen > advised, drill FROM (SELECT *,"
        " CASE advice WHEN 's' THEN value_stand WHEN 'h' THEN value_hit WHEN 'd' THEN value_double"
        "  WHEN 'p' THEN value_split END AS advised,"
        " CASE action WHEN 's' THEN value_stand WHEN 'h' THEN value_hit WHEN 'd' THEN value_double"
        "  WHEN 'p' THEN value_split END AS chosen FROM decisions)",
        "CREATE TABLE damaged_decisions AS SELECT * FROM decisions WHERE id NOT IN (SELECT id FROM checked_decisions)",
        "DROP TABLE decisions",
        "ALTER TABLE checked_decisions RENAME TO decisions",
        // The statistics read these sums, kept up as each decision is stored,
        // so opening them costs the same at a million decisions as at ten.
        "CREATE TABLE session_totals (session INTEGER PRIMARY KEY, decisions INTEGER NOT NULL,"
        " mistakes INTEGER NOT NULL, off_chart INTEGER NOT NULL, cost REAL NOT NULL)",
        "CREATE TABLE cell_totals (chart_row INTEGER NOT NULL, chart_column INTEGER NOT NULL, action TEXT NOT NULL,"
        " decisions INTEGER NOT NULL, mistakes INTEGER NOT NULL, off_chart INTEGER NOT NULL, cost REAL NOT NULL,"
        " PRIMARY KEY (chart_row, chart_column, action)) WITHOUT ROWID",
        "CREATE TRIGGER decisions_summed AFTER INSERT ON decisions BEGIN"
        " INSERT INTO session_totals VALUES (NEW.session, 1, NEW.action <> NEW.advice AND NOT NEW.off_chart,"
        "  NEW.off_chart, NEW.cost)"
        "  ON CONFLICT (session) DO UPDATE SET decisions = decisions + 1, mistakes = mistakes + excluded.mistakes,"
        "  off_chart = off_chart + excluded.off_chart, cost = cost + excluded.cost;"
        " INSERT INTO cell_totals VALUES (NEW.chart_row, NEW.chart_column, NEW.action, 1,"
        "  NEW.action <> NEW.advice AND NOT NEW.off_chart, NEW.off_chart, NEW.cost)"
        "  ON CONFLICT (chart_row, chart_column, action) DO UPDATE SET decisions = decisions + 1,"
        "  mistakes = mistakes + excluded.mistakes, off_chart = off_chart + excluded.off_chart,"
        "  cost = cost + excluded.cost;"
        " END",
        "INSERT INTO session_totals SELECT session, count(*), total(action <> advice AND NOT off_chart),"
        " total(off_chart), total(cost) FROM decisions GROUP BY session",
        "INSERT INTO cell_totals SELECT chart_row, chart_column, action, count(*),"
        " total(action <> advice AND NOT off_chart), total(off_chart), total(cost) FROM decisions"
        " GROUP BY chart_row, chart_column, action",
    },
    {
        // Flash drill answers are decisions marked flash. Their sums are also
        // kept apart, so the statistics can show the table's decisions alone.
        "ALTER TABLE decisions ADD COLUMN flash INTEGER NOT NULL DEFAULT 0 CHECK (flash IN (0, 1))",
        "CREATE TABLE flash_session_totals (session INTEGER PRIMARY KEY, decisions INTEGER NOT NULL,"
        " mistakes INTEGER NOT NULL, off_chart INTEGER NOT NULL, cost REAL NOT NULL)",
        "CREATE TABLE flash_cell_totals (chart_row INTEGER NOT NULL, chart_column INTEGER NOT NULL,"
        " action TEXT NOT NULL, decisions INTEGER NOT NULL, mistakes INTEGER NOT NULL, off_chart INTEGER NOT NULL,"
        " cost REAL NOT NULL, PRIMARY KEY (chart_row, chart_column, action)) WITHOUT ROWID",
        "CREATE TRIGGER flash_decisions_summed AFTER INSERT ON decisions WHEN NEW.flash BEGIN"
        " INSERT INTO flash_session_totals VALUES (NEW.session, 1, NEW.action <> NEW.advice AND NOT NEW.off_chart,"
        "  NEW.off_chart, NEW.cost)"
        "  ON CONFLICT (session) DO UPDATE SET decisions = decisions + 1, mistakes = mistakes + excluded.mistakes,"
        "  off_chart = off_chart + excluded.off_chart, cost = cost + excluded.cost;"
        " INSERT INTO flash_cell_totals VALUES (NEW.chart_row, NEW.chart_column, NEW.action, 1,"
        "  NEW.action <> NEW.advice AND NOT NEW.off_chart, NEW.off_chart, NEW.cost)"
        "  ON CONFLICT (chart_row, chart_column, action) DO UPDATE SET decisions = decisions + 1,"
        "  mistakes = mistakes + excluded.mistakes, off_chart = off_chart + excluded.off_chart,"
        "  cost = cost + excluded.cost;"
        " END",
        // The flash drill's Leitner box of each chart cell; a cell without a
        // row is in box 1.
        "CREATE TABLE flash_boxes (chart_row INTEGER NOT NULL CHECK (chart_row BETWEEN 0 AND 27),"
        " chart_column INTEGER NOT NULL CHECK (chart_column BETWEEN 0 AND 9),"
        " box INTEGER NOT NULL CHECK (box BETWEEN 1 AND 5), PRIMARY KEY (chart_row, chart_column)) WITHOUT ROWID",
    },
    {
        // Each decision and hand names its table by the rules text; rows from
        // before were played at the program's own. A casino table's chart has
        // 30 rows and a fifth action, surrender; the flash drill is the
        // program's alone. A split there may make four hands, yet no play's
        // expected value comes near four stakes either way, so the value
        // ranges stay as they were.
        "CREATE TABLE table_decisions (id INTEGER PRIMARY KEY, time TEXT NOT NULL,"
        " session INTEGER NOT NULL CHECK (typeof(session) = 'integer'),"
        " hand_cards TEXT NOT NULL, up_card TEXT NOT NULL,"
        " chart_row INTEGER NOT NULL CHECK (typeof(chart_row) = 'integer'"
        "  AND chart_row BETWEEN 0 AND CASE rules WHEN 'program' THEN 27 ELSE 29 END),"
        " chart_column INTEGER NOT NULL CHECK (typeof(chart_column) = 'integer' AND chart_column BETWEEN 0 AND 9),"
        " advice_mode TEXT NOT NULL CHECK (advice_mode IN ('always', 'after error')),"
        " action TEXT NOT NULL CHECK (action IN ('h', 's', 'd', 'p', 'r')),"
        " advice TEXT NOT NULL CHECK (advice IN ('h', 's', 'd', 'p', 'r')),"
        " value_stand REAL NOT NULL CHECK (value_stand BETWEEN -100 AND 100),"
        " value_hit REAL NOT NULL CHECK (value_hit BETWEEN -100 AND 100),"
        " value_double REAL CHECK (value_double BETWEEN -100 AND 100),"
        " value_split REAL CHECK (value_split BETWEEN -100 AND 100),"
        " cost REAL NOT NULL CHECK (cost BETWEEN 0 AND 100),"
        " off_chart INTEGER NOT NULL CHECK (off_chart IN (0, 1) AND (off_chart = 0 OR action <> advice)),"
        " drill INTEGER NOT NULL CHECK (drill IN (0, 1)),"
        " flash INTEGER NOT NULL DEFAULT 0 CHECK (flash IN (0, 1) AND (flash = 0 OR rules = 'program')),"
        " rules TEXT NOT NULL DEFAULT 'program' CHECK (typeof(rules) = 'text' AND rules <> ''),"
        " value_surrender REAL CHECK (value_surrender IS NULL"
        "  OR (value_surrender BETWEEN -100 AND 100 AND rules <> 'program')),"
        " CHECK ('d' NOT IN (action, advice) OR value_double IS NOT NULL),"
        " CHECK ('p' NOT IN (action, advice) OR value_split IS NOT NULL),"
        " CHECK ('r' NOT IN (action, advice) OR value_surrender IS NOT NULL))",
        "INSERT INTO table_decisions (id, time, session, hand_cards, up_card, chart_row, chart_column, advice_mode,"
        " action, advice, value_stand, value_hit, value_double, value_split, cost, off_chart, drill, flash)"
        " SELECT id, time, session, hand_cards, up_card, chart_row, chart_column, advice_mode, action, advice,"
        " value_stand, value_hit, value_double, value_split, cost, off_chart, drill, flash FROM decisions",
        "DROP TABLE decisions",
        "ALTER TABLE table_decisions RENAME TO decisions",
        "ALTER TABLE hands ADD COLUMN rules TEXT NOT NULL DEFAULT 'program' CHECK (typeof(rules) = 'text' AND rules <> '')",
        // The sums are kept by table, the ones there were as the program's.
        // Their keys lead the columns, in the key's order: the page check of
        // SQLite 3.40 reads a key column declared later as NULL.
        "CREATE TABLE table_session_totals (rules TEXT NOT NULL, session INTEGER NOT NULL, decisions INTEGER NOT NULL,"
        " mistakes INTEGER NOT NULL, off_chart INTEGER NOT NULL, cost REAL NOT NULL,"
        " PRIMARY KEY (rules, session)) WITHOUT ROWID",
        "INSERT INTO table_session_totals SELECT 'program', * FROM session_totals",
        "DROP TABLE session_totals",
        "ALTER TABLE table_session_totals RENAME TO session_totals",
        "CREATE TABLE table_cell_totals (rules TEXT NOT NULL, chart_row INTEGER NOT NULL, chart_column INTEGER NOT NULL,"
        " action TEXT NOT NULL, decisions INTEGER NOT NULL, mistakes INTEGER NOT NULL, off_chart INTEGER NOT NULL,"
        " cost REAL NOT NULL, PRIMARY KEY (rules, chart_row, chart_column, action)) WITHOUT ROWID",
        "INSERT INTO table_cell_totals SELECT 'program', * FROM cell_totals",
        "DROP TABLE cell_totals",
        "ALTER TABLE table_cell_totals RENAME TO cell_totals",
        "CREATE TABLE table_flash_session_totals (rules TEXT NOT NULL, session INTEGER NOT NULL, decisions INTEGER NOT NULL,"
        " mistakes INTEGER NOT NULL, off_chart INTEGER NOT NULL, cost REAL NOT NULL,"
        " PRIMARY KEY (rules, session)) WITHOUT ROWID",
        "INSERT INTO table_flash_session_totals SELECT 'program', * FROM flash_session_totals",
        "DROP TABLE flash_session_totals",
        "ALTER TABLE table_flash_session_totals RENAME TO flash_session_totals",
        "CREATE TABLE table_flash_cell_totals (rules TEXT NOT NULL, chart_row INTEGER NOT NULL, chart_column INTEGER NOT NULL,"
        " action TEXT NOT NULL, decisions INTEGER NOT NULL, mistakes INTEGER NOT NULL, off_chart INTEGER NOT NULL,"
        " cost REAL NOT NULL, PRIMARY KEY (rules, chart_row, chart_column, action)) WITHOUT ROWID",
        "INSERT INTO table_flash_cell_totals SELECT 'program', * FROM flash_cell_totals",
        "DROP TABLE flash_cell_totals",
        "ALTER TABLE table_flash_cell_totals RENAME TO flash_cell_totals",
        "CREATE TRIGGER decisions_summed AFTER INSERT ON decisions BEGIN"
        " INSERT INTO session_totals VALUES (NEW.rules, NEW.session, 1, NEW.action <> NEW.advice AND NOT NEW.off_chart,"
        "  NEW.off_chart, NEW.cost)"
        "  ON CONFLICT (rules, session) DO UPDATE SET decisions = decisions + 1, mistakes = mistakes + excluded.mistakes,"
        "  off_chart = off_chart + excluded.off_chart, cost = cost + excluded.cost;"
        " INSERT INTO cell_totals VALUES (NEW.rules, NEW.chart_row, NEW.chart_column, NEW.action, 1,"
        "  NEW.action <> NEW.advice AND NOT NEW.off_chart, NEW.off_chart, NEW.cost)"
        "  ON CONFLICT (rules, chart_row, chart_column, action) DO UPDATE SET decisions = decisions + 1,"
        "  mistakes = mistakes + excluded.mistakes, off_chart = off_chart + excluded.off_chart,"
        "  cost = cost + excluded.cost;"
        " END",
        "CREATE TRIGGER flash_decisions_summed AFTER INSERT ON decisions WHEN NEW.flash BEGIN"
        " INSERT INTO flash_session_totals VALUES (NEW.rules, NEW.session, 1, NEW.action <> NEW.advice AND NOT NEW.off_chart,"
        "  NEW.off_chart, NEW.cost)"
        "  ON CONFLICT (rules, session) DO UPDATE SET decisions = decisions + 1, mistakes = mistakes + excluded.mistakes,"
        "  off_chart = off_chart + excluded.off_chart, cost = cost + excluded.cost;"
        " INSERT INTO flash_cell_totals VALUES (NEW.rules, NEW.chart_row, NEW.chart_column, NEW.action, 1,"
        "  NEW.action <> NEW.advice AND NOT NEW.off_chart, NEW.off_chart, NEW.cost)"
        "  ON CONFLICT (rules, chart_row, chart_column, action) DO UPDATE SET decisions = decisions + 1,"
        "  mistakes = mistakes + excluded.mistakes, off_chart = off_chart + excluded.off_chart,"
        "  cost = cost + excluded.cost;"
        " END",
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
    static_assert(schemaVersion == 5, "one migration step per version");

    // A link would have the record written wherever it points, and a pipe
    // would hold the table until something wrote to it: the record is only
    // ever a plain file of its own.
    const QFileInfo record(path);
    if (record.isSymLink()) {
        why = record.fileName() + QStringLiteral(" is a symbolic link, not a record");
        return;
    }
    if (record.exists() && !record.isFile()) {
        why = record.fileName() + QStringLiteral(" is not a plain file");
        return;
    }
    if (!PrivateFiles::makeFolder(QFileInfo(path).absolutePath())) {
        why = QStringLiteral("the record's folder cannot be written");
        return;
    }
    lock = std::make_unique<RecordLock>(path + QStringLiteral(".lock"));
    if (!lock->held()) {
        why = lock->problem();
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
        why = QStringLiteral("the record cannot be read");
        return;
    }
    if (version > schemaVersion) {
        openFile(true);
        why = QStringLiteral("the record was written by a newer Vantrel");
        return;
    }
    if (startUsing(version))
        currentState = State::Recording;
}

bool HistoryDatabase::startUsing(int version)
{
    QSqlQuery pragma(connection());
    pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    pragma.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    return migrate(version);
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
    if (!readOnly)
        keepPrivate();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    // A file busy in another program is given up on at once, not after the
    // driver's five seconds.
    db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=50;QSQLITE_OPEN_READONLY")
                                  : QStringLiteral("QSQLITE_BUSY_TIMEOUT=50"));
    if (!db.open()) {
        why = QStringLiteral("the record cannot be opened");
        return false;
    }
    currentState = readOnly ? State::ReadOnly : State::Closed;
    return true;
}

void HistoryDatabase::keepPrivate()
{
    // SQLite gives its WAL and shared-memory files the record's own mode, so
    // a record made 0600 before SQLite opens it keeps all three private.
    PrivateFiles::makeFile(path);
    for (const char *companion : {"-wal", "-shm"})
        PrivateFiles::keepFile(path + QLatin1String(companion));
}

int HistoryDatabase::userVersion()
{
    // Reading the table list fails on a file that is not a database; the
    // quick check finds a damaged page anywhere in it, before a write does.
    // The check is of pages only: every row's ranges are its CHECK
    // constraints' work at each write, and would take it five times as long.
    QSqlQuery query(connection());
    query.exec(QStringLiteral("PRAGMA ignore_check_constraints = ON"));
    const bool checked = query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))
                         && query.exec(QStringLiteral("PRAGMA quick_check")) && query.next();
    const QString verdict = checked ? query.value(0).toString() : QString();
    const QSqlError error = query.lastError();
    query.exec(QStringLiteral("PRAGMA ignore_check_constraints = OFF"));
    if (checked) {
        if (verdict != QLatin1String("ok"))
            return damaged;
        if (query.exec(QStringLiteral("PRAGMA user_version")) && query.next())
            return query.value(0).toInt();
    }
    return isDamage(checked ? query.lastError() : error) ? damaged : unreadable;
}

bool HistoryDatabase::isDamage(const QSqlError &error)
{
    // SQLITE_CORRUPT and SQLITE_NOTADB, with or without their extended codes;
    // anything else (a file busy in another program) is no reason to move it.
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 11 || code == 26;
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
    session = 0;
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
            why = QStringLiteral("the record cannot be written");
            return false;
        }
    }
    return true;
}

void HistoryDatabase::stopRecording(const QSqlError &failure)
{
    switch (failure.nativeErrorCode().toInt() & 0xff) {
    case 13: why = QStringLiteral("the disk is full"); break;                  // SQLITE_FULL
    case 8: why = QStringLiteral("the record is read-only"); break;            // SQLITE_READONLY
    case 11: case 26: why = QStringLiteral("the record is damaged"); break;    // and could not be replaced
    default: why = QStringLiteral("the record cannot be written"); break;
    }
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
    const QSqlError failure = tryWrite(decisions, hands);
    if (!failure.isValid())
        return true;
    // A file found damaged only now is moved aside like one found at the
    // start, and the round goes into a new one.
    if (isDamage(failure)) {
        moveAside();
        if (openFile(false) && userVersion() == 0 && startUsing(0)) {
            currentState = State::Recording;
            if (!tryWrite(decisions, hands).isValid())
                return true;
        }
    }
    stopRecording(failure);
    return false;
}

QSqlError HistoryDatabase::tryWrite(const std::vector<DecisionRecord> &decisions, const std::vector<HandRecord> &hands)
{
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
            " advice, value_stand, value_hit, value_double, value_split, cost, off_chart, drill, flash, rules,"
            " value_surrender) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
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
            insert.addBindValue(d.offChart ? 1 : 0);
            insert.addBindValue(d.drill ? 1 : 0);
            insert.addBindValue(d.flash ? 1 : 0);
            insert.addBindValue(d.rules);
            insert.addBindValue(optionalValue(d.surrender));
            ok = insert.exec();
        }
    }
    if (ok && !hands.empty()) {
        ok = insert.prepare(QStringLiteral(
            "INSERT INTO hands (time, session, result, amount, bank_after, drill, rules) VALUES (?, ?, ?, ?, ?, ?, ?)"));
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
            insert.addBindValue(h.rules);
            ok = insert.exec();
        }
    }
    if (ok && db.commit())
        return {};
    // The first error met is the cause; a failed commit has its own.
    QSqlError failure = !ok ? (insert.lastError().isValid() ? insert.lastError() : db.lastError()) : db.lastError();
    db.rollback();
    session = sessionBefore;
    return failure;
}

bool HistoryDatabase::reset()
{
    if (!isRecording())
        return false;
    QSqlDatabase db = connection();
    db.transaction();
    QSqlQuery query(db);
    bool ok = true;
    for (const char *table : {"decisions", "hands", "sessions", "session_totals", "cell_totals", "damaged_decisions",
                              "flash_session_totals", "flash_cell_totals", "flash_boxes"})
        ok = ok && query.exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    if (ok && db.commit()) {
        session = 0;
        return true;
    }
    db.rollback();
    return false;
}

QString HistoryDatabase::exportCsv(const QString &fileName) const
{
    if (currentState == State::Closed)
        return QStringLiteral("the record cannot be read");
    // A pipe or a device would hold the window until something reads it.
    const QFileInfo target(fileName);
    if (target.exists() && !target.isFile())
        return QStringLiteral("it is not a plain file");
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return file.errorString();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT time, session, hand_cards, up_card, chart_row, chart_column, advice_mode, action, advice,"
            " value_stand, value_hit, value_double, value_split, cost, off_chart, drill, flash, rules, value_surrender"
            " FROM decisions ORDER BY id"))) {
        file.cancelWriting();
        return QStringLiteral("the record cannot be read");
    }
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
    out.flush();
    if (out.status() != QTextStream::Ok || !file.commit())
        return file.errorString();
    return QString();
}
