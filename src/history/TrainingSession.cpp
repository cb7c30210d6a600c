#include "TrainingSession.h"
#include "RulesText.h"
#include <algorithm>

TrainingSession::TrainingSession(RandomSource &random, const QString &path) : random(random), db(path)
{
}

void TrainingSession::setRules(const GameRules &rules)
{
    const QString text = QString::fromStdString(RulesText::format(rules));
    if (text == rulesText)
        return;
    rulesText = text;
    if (drilling())
        startDrill();
}

void TrainingSession::decide(const DecisionValues::Decision &decision)
{
    if (!db.isRecording())
        return;
    QString point = QString::number(decision.hand) + QLatin1Char(':') + QString::number(decision.situation.upCard.cardIndex);
    for (int i = 0; i < decision.situation.playerHand.count(); ++i)
        point += QLatin1Char(' ') + QString::number(decision.situation.playerHand[i].cardIndex);
    if (std::find(decided.begin(), decided.end(), point) != decided.end())
        return;
    decided.push_back(point);
    std::optional<DecisionRecord> record = DecisionValues::record(decision, rulesText);
    if (!record)
        return;
    record->drill = roundIsDrill;
    decisions.push_back(*record);
}

void TrainingSession::handSettled(double amount, double bankAfter, bool roundEnds)
{
    if (!db.isRecording())
        return;
    hands.push_back({QDateTime::currentDateTimeUtc(), amount, bankAfter, roundIsDrill, rulesText});
    if (!roundEnds)
        return;
    written += db.writeRound(decisions, hands);
    forgetRound();
}

void TrainingSession::forgetRound()
{
    decisions.clear();
    hands.clear();
    decided.clear();
}

HistoryStatistics TrainingSession::statistics(bool includeFlash, const QString &table) const
{
    return HistoryStatistics::load(db.connection(), db.sessionId(), includeFlash, table);
}

bool TrainingSession::reset()
{
    forgetRound();
    return db.reset();
}

void TrainingSession::startDrill()
{
    stopDrill();
    DrillPlan plan = DrillPlan::fromStatistics(statistics());
    if (chartRows().isCasino())
        shoeDrill.emplace(random, std::move(plan));
    else
        drill.emplace(random, std::move(plan));
}

void TrainingSession::stopDrill()
{
    drill.reset();
    shoeDrill.reset();
}

DeckSource &TrainingSession::startRound(DeckSource &normal)
{
    // A round left unsettled is never written.
    forgetRound();
    roundIsDrill = drill.has_value();
    return drill ? static_cast<DeckSource &>(*drill) : normal;
}

bool TrainingSession::startShoeRound(DealingShoe &shoe)
{
    forgetRound();
    roundIsDrill = shoeDrill.has_value();
    if (shoeDrill)
        shoe.shuffleAll(*shoeDrill);
    return roundIsDrill;
}

QString TrainingSession::drillMarker() const
{
    const ChartCell dealt = drill ? drill->current() : shoeDrill ? shoeDrill->current() : ChartCell();
    return dealt.isValid() ? QStringLiteral("Drill: ") + chartRows().cellName(dealt) : QString();
}
