#include "TrainingRecorder.h"
#include "RecordingMark.h"
#include "StatisticsWindow.h"
#include <QAction>
#include <QLabel>
#include <QMenu>

TrainingRecorder::TrainingRecorder(StatusLine say, QObject *parent)
    : QObject(parent), say(std::move(say)), training(random)
{
}

TrainingRecorder::~TrainingRecorder()
{
    delete statistics;
}

void TrainingRecorder::attach(QMenu *game, QWidget *table)
{
    QAction *entry = game->addAction(QStringLiteral("S&tatistics"));
    entry->setObjectName(QStringLiteral("mnuStatistics"));
    connect(entry, &QAction::triggered, this, &TrainingRecorder::showStatistics);
    drillEntry = game->addAction(QStringLiteral("&Drill Weak Spots"));
    drillEntry->setObjectName(QStringLiteral("mnuDrill"));
    drillEntry->setCheckable(true);
    connect(drillEntry, &QAction::toggled, this, &TrainingRecorder::setDrill);

    drillMarker = new QLabel(table);
    drillMarker->setObjectName(QStringLiteral("lblDrill"));
    drillMarker->setStyleSheet(QStringLiteral(
        "QLabel { color: rgb(250, 175, 200); background: rgba(0, 0, 0, 150); padding: 2px 8px;"
        " border: 1px solid rgb(250, 175, 200); font: bold 11pt 'DejaVu Sans'; }"));
    drillMarker->move(16, 14);
    drillMarker->hide();
    notRecording = new RecordingMark(table);
    showRecordingState();
}

void TrainingRecorder::showRecordingState()
{
    const QString problem = training.database().isRecording() ? QString() : training.database().problem();
    if (notRecording)
        notRecording->showProblem(problem);
    if (said || problem.isEmpty())
        return;
    said = true;
    say(QStringLiteral("Not recording history: ") + problem);
}

void TrainingRecorder::setRules(const GameRules &rules)
{
    training.setRules(rules);
    if (statistics)
        statistics->showTable(training.table());
}

void TrainingRecorder::handSettled(double amount, double bankAfter, bool roundEnds)
{
    training.handSettled(amount, bankAfter, roundEnds);
    showRecordingState();
}

void TrainingRecorder::build(DeckSource &normal, std::array<Card, 52> &deck)
{
    training.startRound(normal).build(deck);
    showDrillMarker();
}

bool TrainingRecorder::startShoeRound(DealingShoe &shoe)
{
    const bool drilled = training.startShoeRound(shoe);
    showDrillMarker();
    return drilled;
}

void TrainingRecorder::showDrillMarker()
{
    if (!drillMarker)
        return;
    if (training.drilling()) {
        drillMarker->setText(training.drillMarker());
        drillMarker->adjustSize();
    }
    drillMarker->setVisible(training.drilling());
}

void TrainingRecorder::secondSplitHand()
{
    if (drillMarker)
        drillMarker->hide();
}

void TrainingRecorder::showStatistics()
{
    // A window of the table's: the program ends when the table closes.
    if (!statistics)
        statistics = new StatisticsWindow(training, drillMarker ? drillMarker->window() : nullptr);
    else
        statistics->showTable(training.table());
    statistics->show();
    statistics->raise();
    statistics->activateWindow();
}

void TrainingRecorder::setDrill(bool on)
{
    if (on == training.drilling())
        return;
    if (on)
        training.startDrill();
    else
        training.stopDrill();
    if (drillEntry)
        drillEntry->setChecked(on);
    if (!drillMarker)
        return;
    drillMarker->setText(QStringLiteral("Drill: from the next deal"));
    drillMarker->adjustSize();
    drillMarker->setVisible(on);
}
