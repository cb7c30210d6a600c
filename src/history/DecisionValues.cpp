#include "DecisionValues.h"
#include "ChartRows.h"
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

std::optional<double> DecisionValues::valueOf(const DecisionRecord &record, char action)
{
    switch (action) {
    case 's': return record.stand;
    case 'h': return record.hit;
    case 'd': return record.doubleDown;
    case 'p': return record.split;
    case 'r': return record.surrender;
    default: return std::nullopt;
    }
}

std::optional<DecisionRecord> DecisionValues::record(const Decision &decision, const QString &rules)
{
    const LiveOdds::Situation &situation = decision.situation;
    DecisionRecord record;
    record.time = QDateTime::currentDateTimeUtc();
    record.rules = rules;
    QStringList ranks;
    for (int i = 0; i < situation.playerHand.count(); ++i)
        ranks << rankName(situation.playerHand[i]);
    record.handCards = ranks.join(QLatin1Char(','));
    record.upCard = rankName(situation.upCard);
    record.cell = ChartRows::forTable(rules).cellOf(situation.playerHand, situation.upCard, decision.canSplit);
    record.adviceAlways = decision.adviceAlways;
    record.action = decision.action;
    record.advice = decision.advice;
    record.stand = decision.odds.stand;
    record.hit = decision.odds.hit;
    if (decision.canDouble)
        record.doubleDown = decision.odds.doubleDown;
    if (decision.canSplit)
        record.split = decision.odds.split;
    record.surrender = decision.surrender;

    const std::optional<double> advised = valueOf(record, record.advice);
    const std::optional<double> chosen = valueOf(record, record.action);
    if (!advised || !chosen || !record.cell.isValid())
        return std::nullopt;
    record.cost = std::max(0.0, *advised - *chosen);
    record.offChart = *chosen > *advised;
    return record;
}
