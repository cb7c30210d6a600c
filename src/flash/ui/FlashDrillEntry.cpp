#include "FlashDrillEntry.h"
#include "FlashDrillWindow.h"
#include <QAction>
#include <QMenu>

FlashDrillEntry::FlashDrillEntry(const StrategyChart &chart, HistoryDatabase &record, Clock &clock, QObject *parent)
    : QObject(parent), table(FlashTable::vantrel(chart)), record(record), clock(clock)
{
}

FlashDrillEntry::~FlashDrillEntry()
{
    delete view;
}

void FlashDrillEntry::attach(QMenu *game, QWidget *table)
{
    owner = table->window();
    QAction *entry = game->addAction(QStringLiteral("&Flash Drill"));
    entry->setObjectName(QStringLiteral("mnuFlash"));
    entry->setShortcut(QKeySequence(Qt::Key_F));
    entry->setShortcutContext(Qt::WindowShortcut);
    connect(entry, &QAction::triggered, this, &FlashDrillEntry::open);
}

void FlashDrillEntry::open()
{
    if (!view) {
        // A window of the table's: it closes with the table.
        view = new FlashDrillWindow(table, record, random, clock, owner);
        view->setAttribute(Qt::WA_DeleteOnClose);
        view->adjustSize();
        view->move(owner->frameGeometry().center() - view->rect().center());
    }
    view->show();
    view->raise();
    view->activateWindow();
}

FlashDrillWindow *FlashDrillEntry::window() const
{
    return view;
}
