#include "Alert.h"
#include "ClockSeededRandom.h"
#include "EventLoopClock.h"
#include "MainWindow.h"
#include "ProgramFolder.h"
#include "ShuffledDeckSource.h"
#include "SplashWindow.h"
#include <QApplication>
#include <QIcon>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setOrganizationName(QStringLiteral("Vantrel"));
    QApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vantrel"));
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
    clock.shortDelay(2500);
    splash->close();
    delete splash;
    if (!table.Form_Load())
        return 0;
    return app.exec();
}
