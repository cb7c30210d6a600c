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
#include <QTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
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
    // The table gets ready behind the splash, once the splash has been
    // painted; how long that takes is the delay measurement's cost.
    QTimer::singleShot(100, &table, [&] {
        const double wall = clock.elapsedSeconds(), work = clock.workSeconds();
        table.prepareTable();
        std::printf("prepared %.4f %.4f\n", clock.elapsedSeconds() - wall, clock.workSeconds() - work);
    });
    clock.shortDelay(2500);
    splash->close();
    delete splash;
    QElapsedTimer load;
    load.start();
    const double loadWork = clock.workSeconds();
    if (!table.Form_Load())
        return 1;
    QCoreApplication::processEvents();
    std::printf("shown %.3f %.3f\n", load.nsecsElapsed() / 1e9, clock.workSeconds() - loadWork);
    std::printf("delays %d %d\n", table.prefs.prfAnimationDelay, table.prefs.prfBannerDelay);
    std::fflush(stdout);
    // Wall and running time of a pass, each the median of three.
    auto timed = [&](auto pass, int delay) {
        std::array<std::pair<double, double>, 3> runs{};
        for (auto &[wall, work] : runs) {
            const double startWall = clock.elapsedSeconds(), startWork = clock.workSeconds();
            (table.*pass)(delay);
            wall = clock.elapsedSeconds() - startWall;
            work = clock.workSeconds() - startWork;
        }
        std::sort(runs.begin(), runs.end());
        return runs[1];
    };
    const auto frames = timed(&MainWindow::animationPass, table.prefs.prfAnimationDelay);
    const auto banner = timed(&MainWindow::bannerPass, table.prefs.prfBannerDelay);
    std::printf("passes %.4f %.4f %.4f %.4f\n", frames.first, frames.second, banner.first, banner.second);
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
    std::vector<double> toTable, prepares, prepareWorks, loads, loadWorks, framePasses, frameWorks, bannerPasses, bannerWorks;
    std::printf("Wall time, and in brackets the time the program itself ran.\n"
                "run  to table  behind splash    load             delay  banner  150-frame pass    61-step pass\n");
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
        double shownAt = 0, prepare = 0, prepareWork = 0, load = 0, loadWork = 0, framePass = 0, frameWork = 0, bannerPass = 0, bannerWork = 0;
        int delay = 0, banner = 0;
        while (child.waitForReadyRead(30000) || child.canReadLine()) {
            while (child.canReadLine()) {
                const QByteArray line = child.readLine().trimmed();
                if (std::sscanf(line.constData(), "shown %lf %lf", &load, &loadWork) == 2)
                    shownAt = launched.nsecsElapsed() / 1e9;
                else if (std::sscanf(line.constData(), "prepared %lf %lf", &prepare, &prepareWork) == 2)
                    ;
                else if (std::sscanf(line.constData(), "delays %d %d", &delay, &banner) == 2)
                    ;
                else if (std::sscanf(line.constData(), "passes %lf %lf %lf %lf", &framePass, &frameWork, &bannerPass,
                                     &bannerWork) == 4)
                    ;
                else
                    std::printf("     %s\n", line.constData());
            }
            if (child.state() == QProcess::NotRunning)
                break;
        }
        child.waitForFinished(30000);
        toTable.push_back(shownAt);
        prepares.push_back(prepare);
        prepareWorks.push_back(prepareWork);
        loads.push_back(load);
        loadWorks.push_back(loadWork);
        framePasses.push_back(framePass);
        frameWorks.push_back(frameWork);
        bannerPasses.push_back(bannerPass);
        bannerWorks.push_back(bannerWork);
        std::printf("%3d  %7.3f s  %.3f (%.3f) s  %.3f (%.3f) s  %5d  %6d  %.3f (%.3f) s  %.3f (%.3f) s\n", run + 1,
                    shownAt, prepare, prepareWork, load, loadWork, delay, banner, framePass, frameWork, bannerPass, bannerWork);
        std::fflush(stdout);
    }
    auto summary = [](const char *what, const std::vector<double> &values) {
        std::printf("%-16s max %.3f s, median %.3f s\n", what, *std::max_element(values.begin(), values.end()),
                    median(values));
    };
    summary("to table", toTable);
    summary("behind splash", prepares);
    summary("  running", prepareWorks);
    summary("load", loads);
    summary("load, running", loadWorks);
    summary("150-frame pass", framePasses);
    summary("  running", frameWorks);
    summary("61-step pass", bannerPasses);
    summary("  running", bannerWorks);
    return 0;
}
