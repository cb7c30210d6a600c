#pragma once
#include "ClockSeededRandom.h"
#include "FlashTable.h"
#include <QObject>
#include <QPointer>

class Clock;
class FlashDrillWindow;
class HistoryDatabase;
class QAction;
class QMenu;
class QWidget;

// The table's way into the flash drill: the Game menu's "Flash Drill" entry
// and its key F. Each opening starts a fresh drill on the program's table.
class FlashDrillEntry : public QObject {
    Q_OBJECT
public:
    FlashDrillEntry(const StrategyChart &chart, HistoryDatabase &record, Clock &clock, QObject *parent = nullptr);
    ~FlashDrillEntry() override;

    void attach(QMenu *game, QWidget *table);
    void open();
    FlashDrillWindow *window() const;

private:
    FlashTable table;
    HistoryDatabase &record;
    Clock &clock;
    ClockSeededRandom random;
    QWidget *owner = nullptr;
    QPointer<FlashDrillWindow> view;
};
