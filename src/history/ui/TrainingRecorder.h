#pragma once
#include "ClockSeededRandom.h"
#include "DecisionValues.h"
#include "DeckSource.h"
#include "StatisticsWindow.h"
#include "TrainingSession.h"
#include <QObject>
#include <QPointer>
#include <array>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QWidget;
class RecordingMark;

// What the table hands the record: its decisions, settled hands and deals,
// the Statistics and Drill Weak Spots entries of its Game menu, and the
// drill's marker on the table.
class TrainingRecorder : public QObject {
    Q_OBJECT
public:
    using StatusLine = std::function<void(const QString &text)>;
    explicit TrainingRecorder(StatusLine say, QObject *parent = nullptr);
    ~TrainingRecorder() override;

    // Adds the menu entries and puts the markers on the table; while nothing
    // is recorded, the table carries a mark saying why, and the status line
    // says so once.
    void attach(QMenu *game, QWidget *table);
    // The table's rules, from the next round on: what is recorded, drilled
    // and shown first in the statistics. The program's table until called.
    void setRules(const GameRules &rules);
    void decide(const DecisionValues::Decision &decision) { training.decide(decision); }
    // In chips; a casino table's may be halves.
    void handSettled(double amount, double bankAfter, bool roundEnds);
    // Fills the round's deck: from the drill while it is on, otherwise from `normal`.
    void build(DeckSource &normal, std::array<Card, 52> &deck);
    // Starts a round at a casino table, just before its deal (CasinoRound):
    // while drilling, the whole shoe is gathered with the weak spot's cards
    // on top, and true is returned. Otherwise the shoe is left alone.
    bool startShoeRound(DealingShoe &shoe);
    // A split's second hand meets a new up-card: the drilled hand is over,
    // so the marker goes until the next deal.
    void secondSplitHand();

    void showStatistics();
    void setDrill(bool on);

    TrainingSession &session() { return training; }
    StatisticsWindow *statisticsWindow() const { return statistics; }
    QLabel *marker() const { return drillMarker; }
    RecordingMark *recordingMark() const { return notRecording; }

private:
    void showRecordingState();
    void showDrillMarker();

    StatusLine say;
    ClockSeededRandom random;
    TrainingSession training;
    bool said = false;
    QAction *drillEntry = nullptr;
    QLabel *drillMarker = nullptr;
    RecordingMark *notRecording = nullptr;
    QPointer<StatisticsWindow> statistics;
};
