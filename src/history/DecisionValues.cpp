#include "DecisionValues.h"
#include <algorithm>
#include <QStringList>

QString DecisionValues::rankName(const Card &card)
{
    switch (card.rank) {
    case 1: return QStringLiteral("A");
    case 11: return QStringLiteral("J");
    case 12: return QStringLiteral("Q");
    case 13: return QStringLiteral("K");
    default: return QString::number(card.rank);
    }
}

double DecisionValues::computeSplit(const LiveOdds::Situation &situation)
{
    // Memory stays bounded over a long session.
    if (engine.cachedCount() > 1'000'000)
        engine = StrategyEngine();
    Shoe shoe = Shoe::fullDeck();
    const int pairRank = situation.playerHand[0].rank;
    int rankLeft = 4;
    auto takeOut = [&](const Card &card) {
        if (card.isEmpty())
            return;
        shoe.remove(cardValue(card));
        rankLeft -= card.rank == pairRank;
    };
    for (const Card &card : situation.playerHand.elements())
        takeOut(card);
    takeOut(situation.upCard);
    for (const Card &card : situation.cardsOut)
        takeOut(card);
    return situation.stake
           * engine.split(cardValue(situation.playerHand[0]), rankLeft, cardValue(situation.upCard), shoe);
}

DecisionRecord DecisionValues::record(const Decision &decision)
{
    const LiveOdds::Situation &situation = decision.situation;
    DecisionRecord record;
    record.time = QDateTime::currentDateTimeUtc();
    QStringList ranks;
    for (int i = 0; i < situation.playerHand.count(); ++i)
        ranks << rankName(situation.playerHand[i]);
    record.handCards = ranks.join(QLatin1Char(','));
    record.upCard = rankName(situation.upCard);
    record.cell = ChartCell::of(situation.playerHand, situation.upCard);
    record.adviceAlways = decision.adviceAlways;
    record.action = decision.action;
    record.advice = decision.advice;
    record.stand = decision.odds.stand;
    record.hit = decision.odds.hit;
    if (decision.canDouble)
        record.doubleDown = decision.odds.doubleDown;
    if (decision.canSplit)
        record.split = decision.odds.split;
    price(record);
    return record;
}

std::shared_future<double> DecisionValues::splitValue(const LiveOdds::Situation &situation)
{
    if (working.valid())
        working.wait();
    working = std::async(std::launch::async, [this, situation] { return computeSplit(situation); }).share();
    return working;
}

void DecisionValues::price(DecisionRecord &record)
{
    double best = std::max(record.stand, record.hit);
    if (record.doubleDown)
        best = std::max(best, *record.doubleDown);
    if (record.split)
        best = std::max(best, *record.split);
    const std::optional<double> chosen = record.action == 's'   ? record.stand
                                         : record.action == 'h' ? record.hit
                                         : record.action == 'd' ? record.doubleDown
                                                                : record.split;
    record.cost = chosen ? best - *chosen : 0.0;
}
