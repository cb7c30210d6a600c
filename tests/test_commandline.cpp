#include "CommandLine.h"
#include "SettingsStore.h"
#include <QProcess>
#include <QtTest>

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

    // The real program answers on the terminal without opening a display.
    void programNeedsNoDisplay()
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(environment);
        for (const auto &[option, status, out] : {std::tuple{"--version", 0, "Vantrel " VANTREL_VERSION "\n"},
                                                  std::tuple{"--nope", 2, ""}}) {
            program.start(QStringLiteral(VANTREL_DATA_DIR "/vantrel"), {QString::fromLatin1(option)});
            QVERIFY(program.waitForFinished(30000));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), status);
            QCOMPARE(program.readAllStandardOutput(), QByteArray(out));
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
