// Renders the table at telling moments of stacked rounds, for looking at
// what a player sees: table_screenshots <output folder>. Also the README's
// pictures of the table beside its strategy window, of the flash drill and of
// the preferences.
#include "PreferencesDialog.h"
#include "SettingsStore.h"
#include "TableRulesDialog.h"
#include "StrategyWindow.h"
#include "FlashDrillWindow.h"
#include "TableFixture.h"
#include <QApplication>
#include <QPainter>
#include <QTabWidget>

namespace {
void save(MainWindow &table, const QString &folder, const QString &name)
{
    table.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// Pictures side by side on the desktop's dark background, tops level.
void saveSideBySide(const QList<QPixmap> &pictures, const QString &path)
{
    constexpr int gap = 8;
    QSize size(-gap, 0);
    for (const QPixmap &picture : pictures)
        size = QSize(size.width() + gap + picture.width(), std::max(size.height(), picture.height()));
    QPixmap sheet(size);
    sheet.fill(QColor(30, 30, 30));
    QPainter painter(&sheet);
    int x = 0;
    for (const QPixmap &picture : pictures) {
        painter.drawPixmap(x, 0, picture);
        x += picture.width() + gap;
    }
    painter.end();
    sheet.save(path);
}
}

// A casino table, chosen in settings of its own: eights against a 6 split
// twice, the first hand doubled, the second to play; then all three settled.
// And the Table Rules dialog for that table. Its table is closed before the
// program's own opens: one table at a time keeps the record.
bool saveCasinoPictures(const QString &folder)
{
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir casinoConfig;
    qputenv("XDG_CONFIG_HOME", casinoConfig.path().toLocal8Bit());
    SettingsStore store(QStringLiteral("Table"));
    store.write(QStringLiteral("rules"), QStringLiteral("decks=6,soft17=stand,das=yes,surrender=late"));
    store.commit();
    TableFixture casino;
    casino.shoe.stackRanks({6, 8, 8, 10, 8, 3, 10, 10, 9, 10});
    if (!casino.open())
        return false;
    MainWindow &casinoTable = casino.table();
    casinoTable.picDeal_Click();
    casinoTable.lblSplit_Click();
    casinoTable.lblSplit_Click();
    casinoTable.lblDouble_Click();
    saveSideBySide({casinoTable.grab(), casinoTable.frmStrings->grab()}, folder + QStringLiteral("/casino-table.png"));
    casinoTable.lblStand_Click();
    casinoTable.lblStand_Click();
    save(casinoTable, folder, QStringLiteral("casino-settled"));
    TableRulesDialog rules(casinoTable.casino.tableRules(), &casinoTable);
    rules.show();
    rules.grab().save(folder + QStringLiteral("/table-rules.png"));
    qputenv("XDG_CONFIG_HOME", config);
    return true;
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir record; // the rounds played here stay out of the player's record
    qputenv("XDG_DATA_HOME", record.path().toLocal8Bit());
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    if (!saveCasinoPictures(folder))
        return 1;
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

    // A stopped Stand on 12 against a king, with what it costs.
    table.roundOver = true;
    fixture.deal({13, 5, 7});
    table.lblStand_Click();
    saveSideBySide({table.grab(), table.frmStrings->grab()}, folder + QStringLiteral("/table.png"));

    // The flash drill: a right answer, then a wrong one with its cost.
    table.flash.open();
    FlashDrillWindow &drill = *table.flash.window();
    const auto chartPlay = [&drill] {
        int16_t line = 0;
        return drill.drill().judge().chartPlay(drill.drill().card(), line);
    };
    fixture.clock.nowMs += 1600; // as long as a player thinks
    drill.answer(chartPlay());
    drill.grab().save(folder + QStringLiteral("/flash-right.png"));
    drill.nextCard();
    fixture.clock.nowMs += 2400;
    for (const char wrong : {'h', 's', 'd', 'p'}) {
        if (wrong != chartPlay() && drill.drill().card().allows(wrong)) {
            drill.answer(wrong);
            break;
        }
    }
    drill.grab().save(folder + QStringLiteral("/flash-wrong.png"));
    drill.close();

    // As a new player finds them: sounds and animation on.
    table.prefs.prfSound = true;
    table.prefs.prfAnimation = true;
    table.prefs.prfAnimationDelay = 40;
    PreferencesDialog preferences(table.prefs, table.cWidth, table.cHeight, [] {}, &table);
    preferences.show(); // fills the controls
    auto *tabs = preferences.findChild<QTabWidget *>();
    QList<QPixmap> pages;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        pages << preferences.grab();
    }
    saveSideBySide(pages, folder + QStringLiteral("/preferences.png"));

    return 0;
}
