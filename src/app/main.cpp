#include "Alert.h"
#include "ClosedStreams.h"
#include "ClockSeededRandom.h"
#include "CommandLine.h"
#include "DisplayFailure.h"
#include "EventLoopClock.h"
#include "MainWindow.h"
#include "ProgramFolder.h"
#include "ShuffledDeckSource.h"
#include "SplashWindow.h"
#include "TerminationSignals.h"
#include <QApplication>
#include <QTimer>
#include <QIcon>
#include <QMessageBox>
#include <QTextStream>
#include <cstdio>
#include <memory>

namespace {
void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Vantrel"));
    QCoreApplication::setOrganizationName(QStringLiteral("Vantrel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
}
}

int main(int argc, char *argv[])
{
    ClosedStreams::hold();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine(arguments);
    if (commandLine.request() != CommandLine::Request::RunTable) {
        // Answered on the terminal: no display is opened.
        QCoreApplication app(argc, argv);
        nameApplication();
        QTextStream in(stdin), out(stdout), err(stderr);
        return commandLine.carryOut(in, out, err);
    }

    auto displayFailure = std::make_unique<DisplayFailure>(commandLine.program());
    QApplication app(argc, argv);
    displayFailure.reset();
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("io.github.vantrel.Vantrel"));
    QApplication::setWindowIcon(QIcon(ProgramFolder::file(QStringLiteral("pics"), QStringLiteral("vantrel.png"))));
    Alert::setHandler([](const QString &text) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vantrel"), text, QMessageBox::Ok);
        box.exec();
    });

    EventLoopClock clock;
    ClockSeededRandom random;
    ShuffledDeckSource deckSource(random);

    auto *splash = new SplashWindow;
    splash->show();
    MainWindow table(clock, deckSource);
    // A termination signal (logout, kill, Ctrl+C) once the table is up
    // closes it like its close button, so the preferences are written. One
    // during start-up ends the program with nothing written. Quitting also
    // ends any wait or dialog still open.
    TerminationSignals termination;
    bool started = false;
    bool terminated = false;
    QObject::connect(&termination, &TerminationSignals::received, &table, [&] {
        if (started)
            table.close();
        terminated = true;
        QCoreApplication::quit();
    });
    // The table gets ready behind the splash, once the splash has been painted.
    QTimer::singleShot(100, &table, [&table] { table.prepareTable(); });
    clock.shortDelay(2500);
    splash->close();
    delete splash;
    if (terminated || !table.Form_Load() || terminated)
        return 0;
    started = true;
    return app.exec();
}
