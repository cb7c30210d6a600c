#pragma once
#include "AlertRecorder.h"
#include "FakeClock.h"
#include "MainWindow.h"
#include "ProgramFolder.h"
#include "StackedDeckSource.h"
#include "StackedShoeSource.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

// A table opened on a copy of the program's data, with a fake clock, a
// stackable deck, a stackable shoe for a casino table and captured message
// boxes.
struct TableFixture {
    QTemporaryDir folder;
    AlertRecorder alerts;
    FakeClock clock;
    StackedDeckSource stacked;
    StackedShoeSource shoe; // stacked before open(): a casino table's shoe is filled as the table loads
    std::unique_ptr<MainWindow> window;

    TableFixture()
    {
        copyData(QStringLiteral(VANTREL_DATA_DIR), folder.path());
        ProgramFolder::setPath(folder.path());
    }

    static void copyData(const QString &from, const QString &to)
    {
        QDir source(from);
        for (const QString &name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), to + QLatin1Char('/') + name);
        for (const QString &sub : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QDir(to).mkpath(sub);
            copyData(source.filePath(sub), to + QLatin1Char('/') + sub);
        }
    }

    // Creates and loads the table; false when the load refused. Unless
    // `asStored`, the table then plays with the tests' own preferences.
    bool open(bool asStored = false)
    {
        window = std::make_unique<MainWindow>(clock, stacked);
        window->casino.useShoeSource(shoe);
        if (!asStored) {
            window->prefs.prfAnimationDelay = 0;
            window->prefs.delayUnmeasured = false;
        }
        if (!window->Form_Load())
            return false;
        window->welcomeShown = true;
        if (!asStored) {
            window->prefs.prfAutoDeal = false;
            window->prefs.prfAnimation = false;
            window->prefs.prfAlwaysShowBestPlay = true;
            // Keys reach the table as on a desktop: through its active window.
            window->activateWindow();
            QCoreApplication::processEvents();
        }
        return true;
    }

    MainWindow &table() { return *window; }

    // Deals a round whose cards come off the stock in this order:
    // dealer's up-card, player, player, then whatever follows.
    void deal(std::initializer_list<int> ranks)
    {
        stacked.stackRanks(ranks);
        window->picDeal_Click();
    }
};

// The usual start of a table test: a fixture whose table opened with the
// tests' preferences.
#define OPEN_TABLE(fixture, table)                                                                                     \
    TableFixture fixture;                                                                                              \
    QVERIFY(fixture.open());                                                                                           \
    MainWindow &table = fixture.table()
