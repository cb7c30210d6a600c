// Flash drill figures: from a key press to the next card painted (its exact
// values worked out on the way), and from an answer's key to its verdict
// painted (judged, its box moved and both written to the record).
// Run offscreen: QT_QPA_PLATFORM=offscreen bench_flash
#include "ClockSeededRandom.h"
#include "EventLoopClock.h"
#include "FlashCardView.h"
#include "FlashDrillWindow.h"
#include "HistoryDatabase.h"
#include "StrategyChart.h"
#include "FlashDrill.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

namespace {
void press(QWidget *window, int key)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(window, &down);
}

// Milliseconds from the press until `painted` has been seen.
double pressUntilPainted(QWidget *window, int key, bool &painted)
{
    painted = false;
    QElapsedTimer timer;
    timer.start();
    press(window, key);
    while (!painted)
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    return timer.nsecsElapsed() / 1e6;
}

double threadMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

void report(const char *what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%s: median %.2f ms, 99th %.2f ms, worst %.2f ms over %zu (target 50 ms)\n", what,
                ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back(), ms.size());
}
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    StrategyChart chart;
    chart.importChart(QStringLiteral(VANTREL_DATA_DIR));
    HistoryDatabase record(folder.filePath(QStringLiteral("history.sqlite")));
    ClockSeededRandom random;
    EventLoopClock clock;
    FlashDrillWindow window(FlashTable::vantrel(chart), record, random, clock);
    window.show();
    bool cardPainted = false;
    bool verdictPainted = false;
    QObject::connect(window.cardView(), &FlashCardView::painted, [&] { cardPainted = true; });
    QLabel *verdict = window.findChild<QLabel *>(QStringLiteral("lblVerdict"));
    struct Watch : QObject {
        bool *seen;
        explicit Watch(bool *seen) : seen(seen) {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                *seen = true;
            return false;
        }
    } watch(&verdictPainted);
    verdict->installEventFilter(&watch);
    while (!cardPainted)
        QApplication::processEvents();

    const int keys[] = {Qt::Key_H, Qt::Key_S, Qt::Key_D, Qt::Key_P};
    std::vector<double> toCard, toVerdict;
    const int cards = 600;
    for (int n = 0; n < cards; ++n) {
        // Mostly the chart's play, every fifth answer another one.
        int16_t line = 0;
        const FlashCard card = window.drill().card();
        char play = window.drill().judge().chartPlay(card, line);
        if (n % 5 == 4)
            play = play == 'h' ? 's' : 'h';
        const int key = keys[std::string("hsdp").find(play)];
        toVerdict.push_back(pressUntilPainted(&window, key, verdictPainted));
        toCard.push_back(pressUntilPainted(&window, Qt::Key_Space, cardPainted));
        if (n == cards / 2)
            window.choose(FlashChoice::Pairs); // fresh splits for the engine
    }
    report("key to next card painted", toCard);
    report("answer key to verdict painted", toVerdict);
    std::printf("answers recorded: %d of %d\n", window.drill().answered(), cards);

    // The work alone, in this thread's CPU time: what other programs on the
    // machine take from it does not count here.
    FlashDrill drill(FlashTable::vantrel(chart), record, random);
    drill.choose(FlashChoice::All);
    std::vector<double> dealing, answering;
    for (int n = 0; n < 2000; ++n) {
        double start = threadMs();
        const FlashCard &card = drill.deal();
        dealing.push_back(threadMs() - start);
        start = threadMs();
        drill.answer(card.hand.count() == 2 ? 'd' : 's', 1.0);
        answering.push_back(threadMs() - start);
    }
    report("CPU of dealing a card with its exact values", dealing);
    report("CPU of judging, moving the box and recording", answering);
    return 0;
}
