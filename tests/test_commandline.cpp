#include "CommandLine.h"
#include "SettingsStore.h"
#include <QProcess>
#include <QtTest>

namespace {
struct Outcome {
    CommandLine::Request request;
    int status;
    QString out;
    QString err;
};

Outcome runWith(const QStringList &options, const QString &answer = {})
{
    const CommandLine commandLine(QStringList{QStringLiteral("/usr/games/vantrel")} + options);
    QString input = answer, out, err;
    QTextStream in(&input), outStream(&out), errStream(&err);
    Outcome outcome{commandLine.request(), -1, {}, {}};
    if (commandLine.request() != CommandLine::Request::RunTable)
        outcome.status = commandLine.carryOut(in, outStream, errStream);
    outcome.out = out;
    outcome.err = err;
    return outcome;
}

void storeSomePreferences()
{
    SettingsStore store;
    store.write(QStringLiteral("prfAutoDeal"), QStringLiteral("False"));
    store.write(QStringLiteral("prfPKBackFace"), QStringLiteral("57"));
    QVERIFY(store.commit());
}

QString storedAutoDeal()
{
    return SettingsStore().read(QStringLiteral("prfAutoDeal"), QStringLiteral("<absent>"));
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
        using R = CommandLine::Request;
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<R>("request");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("none") << QStringList{} << R::RunTable << -1 << "" << "";
        QTest::newRow("help") << QStringList{"--help"} << R::ShowHelp << 0 << "--reset-preferences" << "";
        QTest::newRow("short help") << QStringList{"-?"} << R::ShowHelp << 0 << "Usage:" << "";
        QTest::newRow("version") << QStringList{"--version"} << R::ShowVersion << 0 << "Vantrel 9.8.7\n" << "";
        QTest::newRow("unknown") << QStringList{"--bogus"} << R::UsageError << 2 << ""
                                 << "vantrel: Unknown option 'bogus'.\nUsage: vantrel [options]\n";
        QTest::newRow("unknown beside help") << QStringList{"--help", "--deal"} << R::UsageError << 2 << ""
                                             << "Unknown option 'deal'";
        QTest::newRow("argument") << QStringList{"table"} << R::UsageError << 2 << ""
                                  << "unexpected argument 'table'";
        QTest::newRow("no Qt help") << QStringList{"--help-all"} << R::UsageError << 2 << ""
                                    << "Unknown option 'help-all'";
        QTest::newRow("yes alone") << QStringList{"--yes"} << R::UsageError << 2 << ""
                                   << "--yes goes with --reset-preferences";
        QTest::newRow("reset") << QStringList{"--reset-preferences", "--yes"} << R::ResetPreferences << 0
                               << "Preferences cleared" << "";
    }

    void requests()
    {
        QFETCH(QStringList, options);
        QFETCH(CommandLine::Request, request);
        const Outcome outcome = runWith(options);
        QCOMPARE(outcome.request, request);
        QTEST(outcome.status, "status");
        QFETCH(QString, out);
        QFETCH(QString, err);
        QVERIFY2(out.isEmpty() ? outcome.out.isEmpty() : outcome.out.contains(out), qPrintable(outcome.out));
        QVERIFY2(err.isEmpty() ? outcome.err.isEmpty() : outcome.err.contains(err), qPrintable(outcome.err));
    }

    void resetAsksFirst_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("cleared");
        const QStringList reset{"--reset-preferences"};
        QTest::newRow("y") << reset << "y\n" << true;
        QTest::newRow("YES padded") << reset << "  YES \n" << true;
        QTest::newRow("no") << reset << "n\n" << false;
        QTest::newRow("empty line") << reset << "\n" << false;
        QTest::newRow("end of input") << reset << "" << false;
        QTest::newRow("yes and more") << reset << "yes please\n" << false;
        QTest::newRow("--yes asks nothing") << QStringList{"--reset-preferences", "--yes"} << "" << true;
    }

    void resetAsksFirst()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, answer);
        QFETCH(bool, cleared);
        storeSomePreferences();
        const Outcome outcome = runWith(options, answer);
        QCOMPARE(outcome.status, cleared ? 0 : 1);
        QCOMPARE(storedAutoDeal(), cleared ? QStringLiteral("<absent>") : QStringLiteral("False"));
        QCOMPARE(SettingsStore().read(QStringLiteral("prfPKBackFace"), QStringLiteral("65")),
                 cleared ? QStringLiteral("65") : QStringLiteral("57"));
        const bool asked = outcome.out.startsWith(QStringLiteral("Clear Vantrel's stored preferences in ")
                                                  + SettingsStore().fileName() + QStringLiteral("? [y/N] "));
        QCOMPARE(asked, !options.contains(QStringLiteral("--yes")));
        QCOMPARE(outcome.out.contains(QStringLiteral("Nothing changed.")), !cleared);
    }

    // The real program answers these on the terminal without a display.
    void programNeedsNoDisplay_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::newRow("version") << QStringList{"--version"} << 0 << QStringLiteral("Vantrel " VANTREL_VERSION "\n");
        QTest::newRow("unknown") << QStringList{"--nope"} << 2 << "";
    }

    void programNeedsNoDisplay()
    {
        QFETCH(QStringList, options);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VANTREL_DATA_DIR "/vantrel"), options);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QTEST(program.exitCode(), "status");
        QTEST(QString::fromLocal8Bit(program.readAllStandardOutput()), "out");
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
