// Pictures of the record: the statistics window after scripted sessions with
// mistakes, at the program's table and at a casino table, and the table in
// drill mode. history_screenshots <output folder>.
// Under a real display (Xvfb) it also saves the whole screen.
#include "CasinoEngine.h"
#include "DealingShoe.h"
#include "DecisionValues.h"
#include "MistakeMap.h"
#include "RulesText.h"
#include "SeededRandom.h"
#include "ShuffledShoeSource.h"
#include "TableFixture.h"
#include <QApplication>
#include <QRandomGenerator>
#include <QScreen>
#include <QThread>
#include <QtTest>

namespace {
void settle(int milliseconds)
{
    for (int i = 0; i < milliseconds / 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
}

// Plays rounds dealt from random cards, choosing a wrong action with the
// given chance and the tutor's otherwise.
void playSession(TableFixture &fixture, QRandomGenerator &random, int rounds, double wrongChance)
{
    MainWindow &table = fixture.table();
    for (int round = 0; round < rounds; ++round) {
        table.roundOver = true;
        fixture.stacked.stackRanks({random.bounded(1, 14), random.bounded(1, 14), random.bounded(1, 14)});
        table.picDeal_Click();
        while (!table.roundOver) {
            QString action = table.theBestPlay;
            if (random.generateDouble() < wrongChance)
                action = QStringLiteral("hsd").at(random.bounded(3));
            if (action == QLatin1String("p") && table.canSplit)
                table.lblSplit_Click();
            else if (action == QLatin1String("d") && table.canDouble)
                table.lblDouble_Click();
            else if (action == QLatin1String("s"))
                table.lblStand_Click();
            else
                table.lblHit_Click();
        }
    }
}
}

// Records the first decision of casino rounds dealt from the table's shoe,
// valued exactly by the casino engine: the best play, or with the given
// chance another one the hand allows.
void playCasinoSession(HistoryDatabase &record, const GameRules &rules, QRandomGenerator &random, int rounds,
                       double wrongChance)
{
    const CasinoEngine engine(rules);
    const QString table = QString::fromStdString(RulesText::format(rules));
    SeededRandom shuffling(random.generate64());
    ShuffledShoeSource source(shuffling);
    DealingShoe shoe(rules.decks, source);
    std::vector<DecisionRecord> decisions;
    for (int round = 0; round < rounds; ++round) {
        shoe.beginRound();
        const Card up = shoe.deal();
        DecisionValues::Decision decision;
        decision.situation.upCard = up;
        decision.situation.playerHand.add(shoe.deal());
        decision.situation.playerHand.add(shoe.deal());
        const Hand &hand = decision.situation.playerHand;
        const int first = cardValue(hand[0]), second = cardValue(hand[1]);
        if (first + second == 11 && (first == 1 || second == 1)) {
            shoe.endRound(); // a natural: nothing to decide
            continue;
        }
        const CasinoEngine::Values values = engine.values(shoe.remaining(), cardValue(up), first, second);
        constexpr double stake = 25.0;
        decision.odds = {stake * values.stand, stake * values.hit, std::nullopt, std::nullopt};
        QList<QPair<char, double>> plays{{'s', decision.odds.stand}, {'h', decision.odds.hit}};
        if ((decision.canDouble = values.canDouble))
            plays.append({'d', *(decision.odds.doubleDown = stake * values.doubleDown)});
        if ((decision.canSplit = values.canSplit))
            plays.append({'p', *(decision.odds.split = stake * values.split)});
        if (values.canSurrender)
            plays.append({'r', *(decision.surrender = stake * values.surrender)});
        const auto best = std::max_element(plays.begin(), plays.end(),
                                           [](const auto &a, const auto &b) { return a.second < b.second; });
        decision.advice = best->first;
        decision.action = random.generateDouble() < wrongChance ? plays[random.bounded(int(plays.size()))].first
                                                                  : decision.advice;
        if (const std::optional<DecisionRecord> row = DecisionValues::record(decision, table))
            decisions.push_back(*row);
        shoe.endRound();
    }
    record.writeRound(decisions, {});
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir record;
    qputenv("XDG_DATA_HOME", record.path().toLocal8Bit());
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const bool realDisplay = QGuiApplication::platformName() != QLatin1String("offscreen");
    QRandomGenerator random(2026);

    // Sessions that grow more accurate, at the program's table and at a
    // six-deck casino table.
    const GameRules casino = *RulesText::parse("decks=6,surrender=late");
    for (double wrongChance : {0.45, 0.35, 0.3, 0.22, 0.15, 0.1}) {
        TableFixture fixture;
        if (!fixture.open())
            return 1;
        playSession(fixture, random, 60, wrongChance);
        playCasinoSession(fixture.table().training.session().database(), casino, random, 200, wrongChance);
    }

    TableFixture fixture;
    if (!fixture.open())
        return 1;
    MainWindow &table = fixture.table();
    playSession(fixture, random, 40, 0.25);
    playCasinoSession(table.training.session().database(), casino, random, 150, 0.25);
    // The statistics of the table played, its costliest cell clicked.
    const auto pictureStatistics = [&](const QString &name) {
        table.training.showStatistics();
        StatisticsWindow *statistics = table.training.statisticsWindow();
        statistics->move(40, 20);
        statistics->adjustSize();
        const auto costliest = statistics->statistics().costliest(1, HistoryStatistics::rankedDecisions);
        if (!costliest.empty())
            QTest::mouseClick(statistics->map(), Qt::LeftButton, {}, statistics->map()->cellRect(costliest[0]).center());
        settle(realDisplay ? 1500 : 0);
        statistics->grab().save(folder + QStringLiteral("/%1.png").arg(name));
        if (realDisplay)
            QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QStringLiteral("/%1-screen.png").arg(name));
        statistics->close();
    };
    pictureStatistics(QStringLiteral("statistics"));
    table.training.setRules(casino);
    pictureStatistics(QStringLiteral("statistics-casino"));
    table.training.setRules(GameRules::program());

    table.training.setDrill(true);
    table.roundOver = true;
    table.picDeal_Click();
    settle(realDisplay ? 1500 : 0);
    table.grab().save(folder + QStringLiteral("/drill.png"));
    if (realDisplay)
        QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QStringLiteral("/drill-screen.png"));
    return 0;
}
