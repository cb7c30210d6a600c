// The record's files as an attacker or an accident leaves them: lock files
// stale, empty, foreign or replaced by a folder, a second copy in a real
// child process, damaged pages, a full record, pipes, links and modes.
#include "DecisionOf.h"
#include "FileBytes.h"
#include "HistoryDatabase.h"
#include "HistoryStatistics.h"
#include <QDir>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <sys/stat.h>

namespace {
// Run with this set, the test program is a second copy holding the record
// it names until its input closes.
const char *const holdVariable = "VANTREL_TEST_HOLD_RECORD";

std::vector<DecisionRecord> round(int decisions)
{
    std::vector<DecisionRecord> records;
    for (int i = 0; i < decisions; ++i)
        records.push_back(decisionOf({8, 8}, 's', 'h', 1.0));
    return records;
}

int valueOf(const HistoryDatabase &db, const QString &sql)
{
    QSqlQuery query(db.connection());
    return query.exec(sql) && query.next() ? query.value(0).toInt() : -1;
}

int modeOf(const QString &path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

// Fills page `page` (from 1) of a database file with bytes no page can hold.
void damagePage(const QString &path, int page, int pageSize)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(qint64(page - 1) * pageSize));
    file.write(QByteArray(pageSize, char(0xee)));
}
}

class TestRecordFiles : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> folder;
    QString path() const { return folder->filePath(QStringLiteral("history.sqlite")); }
    QString lockPath() const { return path() + QStringLiteral(".lock"); }

    // A record of `rounds` rounds, checkpointed so every page is in the file.
    void fill(int rounds)
    {
        HistoryDatabase db(path());
        QVERIFY(db.isRecording());
        for (int i = 0; i < rounds; ++i)
            QVERIFY(db.writeRound(round(20), {}));
        QVERIFY(QSqlQuery(db.connection()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
    }

    int rootPage(const QString &table)
    {
        HistoryDatabase db(path());
        return valueOf(db, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = '%1'").arg(table));
    }

private Q_SLOTS:
    void init() { folder = std::make_unique<QTemporaryDir>(); }

    void leftOverLockIsTaken_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("another host") << QByteArray("4242 far-away-host\n");
        QTest::newRow("a process long gone") << QByteArray("999999999 ") + QSysInfo::machineHostName().toUtf8();
        QTest::newRow("unreadable bytes") << QByteArray("\xff\xfe\x00\x01", 4);
        QTest::newRow("as QLockFile writes it") << QByteArray("1\nvantrel\nthis-host\n");
    }
    void leftOverLockIsTaken()
    {
        QFETCH(QByteArray, lock);
        writeFile(lockPath(), lock);
        HistoryDatabase db(path());
        QVERIFY2(db.isRecording(), qPrintable(db.problem()));
        QVERIFY(db.writeRound(round(1), {}));
        QVERIFY(readFile(lockPath()).startsWith(QByteArray::number(QCoreApplication::applicationPid()) + ' '));
    }

    void somethingElseAtTheLockIsNamed_data()
    {
        QTest::addColumn<QString>("make");
        QTest::addColumn<QString>("problem");
        QTest::newRow("folder") << "mkdir" << "history.sqlite.lock is a folder, not a lock file";
        QTest::newRow("pipe") << "mkfifo" << "history.sqlite.lock is not a plain file";
        QTest::newRow("link") << "ln" << "history.sqlite.lock is a symbolic link, not a lock file";
    }
    void somethingElseAtTheLockIsNamed()
    {
        QFETCH(QString, make);
        QFETCH(QString, problem);
        const QString elsewhere = folder->filePath(QStringLiteral("elsewhere"));
        writeFile(elsewhere, "kept");
        QCOMPARE(QProcess::execute(make, make == QLatin1String("ln") ? QStringList{QStringLiteral("-s"), elsewhere, lockPath()}
                                                                      : QStringList{lockPath()}),
                 0);
        HistoryDatabase db(path());
        QVERIFY(!db.isRecording());
        QCOMPARE(db.problem(), problem);
        QCOMPARE(readFile(elsewhere), QByteArray("kept"));
    }

    void copyInAnotherProcessHoldsTheRecordUntilKilled()
    {
        QProcess copy;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(holdVariable), path());
        copy.setProcessEnvironment(environment);
        copy.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(copy.waitForReadyRead(20000));
        QCOMPARE(copy.readLine().trimmed(), QByteArray("recording"));
        {
            HistoryDatabase second(path());
            QVERIFY(!second.isRecording());
            QCOMPARE(second.problem(), QStringLiteral("another copy is recording"));
        }
        copy.kill(); // SIGKILL: the lock file stays behind, unheld
        QVERIFY(copy.waitForFinished(20000));
        QVERIFY(QFileInfo::exists(lockPath()));
        HistoryDatabase third(path());
        QVERIFY2(third.isRecording(), qPrintable(third.problem()));
        QCOMPARE(valueOf(third, QStringLiteral("SELECT count(*) FROM decisions")), 1);
    }

    void damagedPageIsFoundAtOpen()
    {
        fill(50);
        const int page = rootPage(QStringLiteral("decisions"));
        QVERIFY(page > 1);
        damagePage(path(), page, 4096);
        const QByteArray damaged = readFile(path());
        HistoryDatabase db(path());
        QVERIFY2(db.isRecording(), qPrintable(db.problem()));
        QVERIFY(db.movedAside().startsWith(path() + QStringLiteral(".corrupt-")));
        QCOMPARE(readFile(db.movedAside()), damaged);
        QCOMPARE(valueOf(db, QStringLiteral("SELECT count(*) FROM decisions")), 0);
        QVERIFY(db.writeRound(round(1), {}));
    }

    void damagedPageFoundByAWriteMovesTheRecordAside()
    {
        fill(50);
        HistoryDatabase db(path());
        QVERIFY(db.isRecording());
        QVERIFY(db.movedAside().isEmpty());
        QVERIFY(db.writeRound(round(1), {}));
        QVERIFY(QSqlQuery(db.connection()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
        // Every page but the first, under the open record; the connection
        // then forgets what it had read, as it does under memory pressure.
        const int pages = int(QFileInfo(path()).size() / 4096);
        for (int page = 2; page <= pages; ++page)
            damagePage(path(), page, 4096);
        QVERIFY(QSqlQuery(db.connection()).exec(QStringLiteral("PRAGMA shrink_memory")));
        QVERIFY2(db.writeRound(round(3), {{QDateTime::currentDateTimeUtc(), -25, 975}}), qPrintable(db.problem()));
        QVERIFY(db.isRecording());
        QVERIFY(db.movedAside().startsWith(path() + QStringLiteral(".corrupt-")));
        QCOMPARE(valueOf(db, QStringLiteral("SELECT count(*) FROM decisions")), 3);
        QCOMPARE(valueOf(db, QStringLiteral("SELECT count(*) FROM hands")), 1);
        QVERIFY(db.sessionId() != 0);
        QCOMPARE(HistoryStatistics::load(db.connection(), db.sessionId()).thisSession.decisions, 3);
    }

    void fullRecordStopsRecordingAndSaysWhy()
    {
        HistoryDatabase db(path());
        QVERIFY(db.writeRound(round(1), {}));
        const int pages = valueOf(db, QStringLiteral("PRAGMA page_count"));
        QVERIFY(QSqlQuery(db.connection()).exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages)));
        QVERIFY(!db.writeRound(round(2000), {}));
        QVERIFY(!db.isRecording());
        QCOMPARE(db.problem(), QStringLiteral("the disk is full"));
        QVERIFY(db.movedAside().isEmpty());
        QCOMPARE(valueOf(db, QStringLiteral("SELECT count(*) FROM decisions")), 1);
    }

    void exportRefusesWhatIsNotAPlainFile_data()
    {
        QTest::addColumn<QString>("make");
        QTest::newRow("pipe") << "mkfifo";
        QTest::newRow("folder") << "mkdir";
    }
    void exportRefusesWhatIsNotAPlainFile()
    {
        QFETCH(QString, make);
        const QString target = folder->filePath(QStringLiteral("out.csv"));
        QCOMPARE(QProcess::execute(make, {target}), 0);
        HistoryDatabase db(path());
        QVERIFY(db.writeRound(round(1), {}));
        // A pipe nobody reads would hold this call, and the test, for good.
        QCOMPARE(db.exportCsv(target), QStringLiteral("it is not a plain file"));
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files | QDir::System).filter(QStringLiteral("out.csv")),
                 make == QLatin1String("mkfifo") ? QStringList{QStringLiteral("out.csv")} : QStringList());
    }

    void failedExportLeavesTheOldFileWhole()
    {
        const QString target = folder->filePath(QStringLiteral("out.csv"));
        writeFile(target, "the last export\n");
        HistoryDatabase db(path());
        QVERIFY(db.writeRound(round(1), {}));
        QVERIFY(QSqlQuery(db.connection()).exec(QStringLiteral("ALTER TABLE decisions RENAME TO elsewhere")));
        QCOMPARE(db.exportCsv(target), QStringLiteral("the record cannot be read"));
        QCOMPARE(readFile(target), QByteArray("the last export\n"));
        QCOMPARE(QDir(folder->path()).entryList({QStringLiteral("out.csv*")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("out.csv")});
        QVERIFY(!db.exportCsv(folder->filePath(QStringLiteral("no-such-folder/out.csv"))).isEmpty());
    }

    void filesAreForThisUserAlone()
    {
        const QString nested = folder->filePath(QStringLiteral("data/Vantrel/history.sqlite"));
        HistoryDatabase db(nested);
        QVERIFY(db.writeRound(round(1), {}));
        QCOMPARE(modeOf(folder->filePath(QStringLiteral("data"))), 0700);
        QCOMPARE(modeOf(folder->filePath(QStringLiteral("data/Vantrel"))), 0700);
        for (const char *file : {"", "-wal", "-shm", ".lock"})
            QCOMPARE(modeOf(nested + QLatin1String(file)), 0600);
        const QString csv = folder->filePath(QStringLiteral("data/out.csv"));
        QCOMPARE(db.exportCsv(csv), QString());
        QCOMPARE(modeOf(csv), 0600);
    }

    void olderOpenRecordIsMadePrivate()
    {
        {
            HistoryDatabase db(path());
            QVERIFY(db.writeRound(round(1), {}));
        }
        for (const char *file : {"", ".lock"})
            QVERIFY(::chmod(QFile::encodeName(path() + QLatin1String(file)).constData(), 0644) == 0);
        HistoryDatabase db(path());
        QVERIFY(db.isRecording());
        for (const char *file : {"", ".lock"})
            QCOMPARE(modeOf(path() + QLatin1String(file)), 0600);
    }

    void recordThatIsNoFileIsLeftAlone_data()
    {
        QTest::addColumn<QString>("make");
        QTest::newRow("pipe") << "mkfifo";
        QTest::newRow("folder") << "mkdir";
    }
    void recordThatIsNoFileIsLeftAlone()
    {
        QFETCH(QString, make);
        QCOMPARE(QProcess::execute(make, {path()}), 0);
        const int mode = modeOf(path());
        HistoryDatabase db(path()); // a pipe opened as a record would hold this call for good
        QCOMPARE(db.state(), HistoryDatabase::State::Closed);
        QCOMPARE(db.problem(), QStringLiteral("history.sqlite is not a plain file"));
        QVERIFY(db.movedAside().isEmpty());
        QCOMPARE(modeOf(path()), mode);
    }

    void linkedRecordIsLeftAlone()
    {
        const QString target = folder->filePath(QStringLiteral("elsewhere.sqlite"));
        {
            HistoryDatabase db(target);
            QVERIFY(db.writeRound(round(1), {}));
        }
        const QByteArray before = readFile(target);
        QVERIFY(QFile::link(target, path()));
        {
            HistoryDatabase db(path());
            QCOMPARE(db.state(), HistoryDatabase::State::Closed);
            QCOMPARE(db.problem(), QStringLiteral("history.sqlite is a symbolic link, not a record"));
            QVERIFY(!db.writeRound(round(1), {}));
            QVERIFY(db.movedAside().isEmpty());
        }
        QVERIFY(QFileInfo(path()).isSymLink());
        QCOMPARE(readFile(target), before);
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(holdVariable)) {
        HistoryDatabase db(qEnvironmentVariable(holdVariable));
        db.writeRound(round(1), {});
        std::puts(db.isRecording() ? "recording" : "not recording");
        std::fflush(stdout);
        std::getchar();
        return 0;
    }
    TestRecordFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_recordfiles.moc"
