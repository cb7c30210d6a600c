// Ten first starts, each on a fresh settings store: the time from launch to
// the table shown (the 2.5 s splash included), the delays the start measured
// and stored, and what a timed pass takes at those delays once the table is
// up. Run it on a display, ideally with another process loading a core:
//   bench_first_start [runs]
#include "Alert.h"
#include "ClockSeededRandom.h"
#include "EventLoopClock.h"
#include "MainWindow.h"
#include "ProgramFolder.h"
#include "ShuffledDeckSource.h"
#include "SplashWindow.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
// As the program starts: splash, 2.5 s wait, load. Then it reports and
// times three passes of each kind at the stored delays.
int firstStart(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setOrganizationName(QStringLiteral("Vantrel"));
    Alert::setHandler([](const QString &text) { std::printf("message: %s\n", qPrintable(text)); });
    ProgramFolder::setPath(QStringLiteral(VANTREL_DATA_DIR));
    EventLoopClock clock;
    ClockSeededRandom random;
    ShuffledDeckSource deck(random);
    auto *splash = new SplashWindow;
    splash->show();
    MainWindow table(clock, deck);
    table.prefs.prfAutoDeal = false; // the table, not its first deal
    clock.shortDelay(2500);
    splash->close();
    delete splash;
    QElapsedTimer load;
    load.start();
    if (!table.Form_Load())
        return 1;
    QCoreApplication::processEvents();
    std::printf("shown %.3f\n", load.nsecsElapsed() / 1e9);
    std::printf("delays %d %d\n", table.prefs.prfAnimationDelay, table.prefs.prfBannerDelay);
    std::fflush(stdout);
    auto timed = [&](auto pass, int delay) {
        double worst = 0;
        for (int i = 0; i < 3; ++i) {
            const double start = clock.elapsedSeconds();
            (table.*pass)(delay);
            worst = std::max(worst, clock.elapsedSeconds() - start);
        }
        return worst;
    };
    std::printf("passes %.4f %.4f\n", timed(&MainWindow::animationPass, table.prefs.prfAnimationDelay),
                timed(&MainWindow::bannerPass, table.prefs.prfBannerDelay));
    return 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--first-start") == 0)
        return firstStart(argc, argv);
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    std::vector<double> toTable, loads, framePasses, bannerPasses;
    std::printf("run  to table  load  delay  banner  150-frame pass  61-step pass\n");
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir settings;
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.path());
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer launched;
        launched.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--first-start")});
        double shownAt = 0, load = 0, framePass = 0, bannerPass = 0;
        int delay = 0, banner = 0;
        while (child.waitForReadyRead(30000) || child.canReadLine()) {
            while (child.canReadLine()) {
                const QByteArray line = child.readLine().trimmed();
                if (std::sscanf(line.constData(), "shown %lf", &load) == 1)
                    shownAt = launched.nsecsElapsed() / 1e9;
                else if (std::sscanf(line.constData(), "delays %d %d", &delay, &banner) == 2)
                    ;
                else if (std::sscanf(line.constData(), "passes %lf %lf", &framePass, &bannerPass) == 2)
                    ;
                else
                    std::printf("     %s\n", line.constData());
            }
            if (child.state() == QProcess::NotRunning)
                break;
        }
        child.waitForFinished(30000);
        toTable.push_back(shownAt);
        loads.push_back(load);
        framePasses.push_back(framePass);
        bannerPasses.push_back(bannerPass);
        std::printf("%3d  %7.3f s  %.3f s  %5d  %6d  %11.3f s  %11.3f s\n", run + 1, shownAt, load, delay, banner,
                    framePass, bannerPass);
        std::fflush(stdout);
    }
    auto summary = [](const char *what, const std::vector<double> &values) {
        std::printf("%-16s max %.3f s, median %.3f s\n", what, *std::max_element(values.begin(), values.end()),
                    median(values));
    };
    summary("to table", toTable);
    summary("load", loads);
    summary("150-frame pass", framePasses);
    summary("61-step pass", bannerPasses);
    return 0;
}
