// Renders the table at telling moments of stacked rounds, for looking at
// what a player sees: table_screenshots <output folder>.
#include "StrategyWindow.h"
#include "TableFixture.h"
#include <QApplication>

namespace {
void save(MainWindow &table, const QString &folder, const QString &name)
{
    table.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir record; // the rounds played here stay out of the player's record
    qputenv("XDG_DATA_HOME", record.path().toLocal8Bit());
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    TableFixture fixture;
    if (!fixture.open())
        return 1;
    MainWindow &table = fixture.table();
    table.prefs.prfAlwaysShowBestPlay = false;

    fixture.deal({10, 5, 6, 13});
    save(table, folder, QStringLiteral("deal"));
    table.lblHit_Click();
    save(table, folder, QStringLiteral("hit"));

    fixture.deal({9, 10, 6, 13});
    table.lblHit_Click();
    table.lblHit_Click();
    save(table, folder, QStringLiteral("bust"));

    fixture.deal({10, 10, 7, 9});
    table.lblStand_Click();
    table.lblStand_Click();
    save(table, folder, QStringLiteral("lost"));

    fixture.deal({10, 8, 8, 3, 10, 7});
    table.lblSplit_Click();
    save(table, folder, QStringLiteral("split"));
    table.frmStrings->grab().save(folder + QStringLiteral("/strategy.png"));
    return 0;
}
