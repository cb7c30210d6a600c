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
    return record;
}
