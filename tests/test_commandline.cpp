#include "CommandLine.h"
#include "FileBytes.h"
#include "SettingsStore.h"
#include <QProcess>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using Request = CommandLine::Request;

// Parses and carries out `options`, answering `answer` to any question;
// returns "request status|out|err", status -1 when the table would open.
QString outcome(const QStringList &options, QString answer = {})
{
    const CommandLine commandLine(QStringList{QStringLiteral("/usr/games/vantrel")} + options);
    QString out, err;
    QTextStream in(&answer), outStream(&out), errStream(&err);
    const int status = commandLine.request() == Request::RunTable ? -1 : commandLine.carryOut(in, outStream, errStream);
    return QStringLiteral("%1 %2|%3|%4").arg(int(commandLine.request())).arg(status).arg(out, err);
}
}

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Vantrel"));
        QCoreApplication::setApplicationVersion(QStringLiteral("9.8.7"));
    }

    void requests_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("expected"); // a regular expression over outcome()
        const QString usage = QStringLiteral("Usage: vantrel \\[options\\]\nTry 'vantrel --help' for more information.\n$");
        const auto failing = [&](const char *message) {
            return QStringLiteral("^%1 2\\|\\|vantrel: %2\n").arg(int(Request::UsageError)).arg(message) + usage;
        };
        QTest::newRow("none") << QStringList{} << QStringLiteral("^%1 -1\\|\\|$").arg(int(Request::RunTable));
        QTest::newRow("help") << QStringList{"--help"}
                              << QStringLiteral("^%1 0\\|Usage: .*--reset-preferences.*--yes.*\\|$").arg(int(Request::ShowHelp));
        QTest::newRow("-?") << QStringList{"-?"} << QStringLiteral("^%1 0\\|Usage: ").arg(int(Request::ShowHelp));
        QTest::newRow("version") << QStringList{"-v"} << QStringLiteral("^%1 0\\|Vantrel 9.8.7\n\\|$").arg(int(Request::ShowVersion));
        QTest::newRow("unknown") << QStringList{"--bogus"} << failing("Unknown option 'bogus'.");
        QTest::newRow("unknown beside help") << QStringList{"--help", "--deal"} << failing("Unknown option 'deal'.");
        QTest::newRow("no Qt help") << QStringList{"--help-all"} << failing("Unknown option 'help-all'.");
        QTest::newRow("argument") << QStringList{"table"} << failing("unexpected argument 'table'");
        QTest::newRow("yes alone") << QStringList{"--yes"} << failing("--yes goes with --reset-preferences");
    }

    void requests()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, expected);
        const QString got = outcome(options);
        QVERIFY2(QRegularExpression(expected, QRegularExpression::DotMatchesEverythingOption).match(got).hasMatch(),
                 qPrintable(got));
    }

    void resetAsksFirst_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("y") << "y\n" << true;
        QTest::newRow("YES padded") << "  YES \n" << true;
        QTest::newRow("no") << "n\n" << false;
        QTest::newRow("empty line") << "\n" << false;
        QTest::newRow("end of input") << "" << false;
        QTest::newRow("yes and more") << "yes please\n" << false;
        QTest::newRow("--yes asks nothing") << QString() << true;
    }

    void resetAsksFirst()
    {
        QFETCH(QString, answer);
        QFETCH(bool, cleared);
        {
            SettingsStore store;
            store.write(QStringLiteral("prfAutoDeal"), QStringLiteral("False"));
            store.write(QStringLiteral("prfPKBackFace"), QStringLiteral("57"));
            QVERIFY(store.commit());
        }
        const bool assumeYes = QByteArray(QTest::currentDataTag()) == "--yes asks nothing";
        const QString got = outcome(assumeYes ? QStringList{"--reset-preferences", "--yes"}
                                              : QStringList{"--reset-preferences"},
                                    answer);
        const QString question = QStringLiteral("Clear Vantrel's stored preferences in %1? [y/N] ")
                                     .arg(SettingsStore().fileName());
        const QString reply = cleared ? QStringLiteral("Preferences cleared; the next start uses the defaults.\n")
                                      : QStringLiteral("Nothing changed.\n");
        QCOMPARE(got.section(QLatin1Char('|'), 0, 0), QStringLiteral("%1 %2").arg(int(Request::ResetPreferences)).arg(cleared ? 0 : 1));
        QVERIFY2(got.section(QLatin1Char('|'), 1).startsWith(assumeYes ? reply : question), qPrintable(got));
        QVERIFY2(got.endsWith(reply + QLatin1Char('|')), qPrintable(got));
        SettingsStore store;
        QCOMPARE(store.read(QStringLiteral("prfAutoDeal"), QStringLiteral("<absent>")), cleared ? "<absent>" : "False");
        QCOMPARE(store.read(QStringLiteral("prfPKBackFace"), QStringLiteral("<absent>")), cleared ? "<absent>" : "57");
    }

    // The real program answers on the terminal without opening a display;
    // an answer lost on the way, or a table with no display to open, ends
    // with one line and a failure.
    void programOnTheTerminal_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("output"); // "pipe", "closed" or a file to write to
        QTest::addColumn<QString>("display"); // DISPLAY, "" for none
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        const QByteArray usage = "Usage: vantrel [options]\nTry 'vantrel --help' for more information.\n";
        QTest::newRow("version") << QStringList{"--version"} << "pipe" << "" << 0
                                 << QByteArray("Vantrel " VANTREL_VERSION "\n") << QByteArray();
        QTest::newRow("usage error") << QStringList{"--nope"} << "pipe" << "" << 2 << QByteArray()
                                     << "vantrel: Unknown option 'nope'.\n" + usage;
        QTest::newRow("help to a full disk") << QStringList{"--help"} << "/dev/full" << "" << 1 << QByteArray()
                                             << QByteArray("vantrel: cannot write the output: No space left on device\n");
        QTest::newRow("version to a full disk") << QStringList{"-v"} << "/dev/full" << "" << 1 << QByteArray()
                                                << QByteArray("vantrel: cannot write the output: No space left on device\n");
        QTest::newRow("help to a closed output") << QStringList{"--help"} << "closed" << "" << 1 << QByteArray()
                                                 << QByteArray("vantrel: cannot write the output: Bad file descriptor\n");
        QTest::newRow("help to /dev/null") << QStringList{"--help"} << "/dev/null" << "" << 0 << QByteArray()
                                           << QByteArray();
        QTest::newRow("table without a display") << QStringList{} << "pipe" << "" << 1 << QByteArray()
                                                 << QByteArray("vantrel: cannot open a window: DISPLAY is not set\n");
        QTest::newRow("table with a display that is not there") << QStringList{} << "pipe" << ":1017" << 1 << QByteArray()
            << QByteArray("vantrel: cannot open a window: cannot connect to the display :1017\n");
    }

    void programOnTheTerminal()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, output);
        QFETCH(QString, display);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        if (!display.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), display);
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C")); // the system's error texts in English
        program.setProcessEnvironment(environment);
        if (output == QLatin1String("closed"))
            program.setChildProcessModifier([] { close(STDOUT_FILENO); });
        else if (output != QLatin1String("pipe"))
            program.setStandardOutputFile(output);
        program.start(QStringLiteral(VANTREL_DATA_DIR "/vantrel"), options);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QTEST(program.exitCode(), "status");
        QTEST(program.readAllStandardOutput(), "out");
        QTEST(program.readAllStandardError(), "err");
    }

    // A file Qt cannot parse, or one the store refuses to read, is cleared
    // all the same; a folder in its place cannot be.
    void resetClearsWhatIsStored_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        const QByteArray cleared = "Preferences cleared; the next start uses the defaults.\n";
        QTest::newRow("clean") << "file" << QByteArray("[Preferences]\nprfSound=False\n") << 0 << cleared;
        QTest::newRow("garbled") << "file" << QByteArray("[Preferences\nno equals sign\nprfSound=False\n") << 0 << cleared;
        QTest::newRow("nothing readable") << "file" << QByteArray("no equals sign\n[broken\n") << 0 << cleared;
        QTest::newRow("binary, nothing readable") << "file" << QByteArray("\x00\x01\xff\xfe garbage\n", 13) << 0 << cleared;
        QTest::newRow("binary") << "file" << QByteArray("\x00\xff[Pref\x01\n[Preferences]\nprfSound=False\n\x7f", 39) << 0 << cleared;
        QTest::newRow("too large") << "file" << "[Preferences]\nprfSound=False\n" + QByteArray(2 * 1024 * 1024, ';')
                                   << 0 << cleared;
        QTest::newRow("FIFO") << "FIFO" << QByteArray() << 0 << cleared;
        QTest::newRow("folder") << "folder" << QByteArray() << 1 << QByteArray();
    }

    void resetClearsWhatIsStored()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        const QString settings = SettingsStore().fileName();
        QFile::remove(settings);
        QDir().rmdir(settings);
        QVERIFY(QDir().mkpath(QFileInfo(settings).path()));
        if (kind == QLatin1String("FIFO"))
            QCOMPARE(mkfifo(QFile::encodeName(settings).constData(), 0600), 0);
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(settings));
        else
            writeFile(settings, content);
        QProcess program;
        program.start(QStringLiteral(VANTREL_DATA_DIR "/vantrel"), {"--reset-preferences", "--yes"});
        QVERIFY(program.waitForFinished(30000));
        QTEST(program.exitCode(), "status");
        QTEST(program.readAllStandardOutput(), "out");
        const QFileInfo file(settings);
        if (kind == QLatin1String("folder")) {
            QCOMPARE(program.readAllStandardError(), "vantrel: cannot write " + QFile::encodeName(settings) + "\n");
            QVERIFY(file.isDir());
            QVERIFY(QDir().rmdir(settings));
            return;
        }
        QCOMPARE(program.readAllStandardError(), QByteArray());
        QVERIFY(file.isFile());
        QVERIFY2(!readFile(settings).contains("prfSound"), readFile(settings).left(200).constData());
        QCOMPARE(SettingsStore().read(QStringLiteral("prfSound"), QStringLiteral("<absent>")), QStringLiteral("<absent>"));
        QCOMPARE(QDir(file.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList{file.fileName()});
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
