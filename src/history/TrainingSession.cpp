#include "TrainingSession.h"
#include <algorithm>

TrainingSession::TrainingSession(RandomSource &random, const QString &path) : random(random), db(path)
{
}

void TrainingSession::decide(const DecisionValues::Decision &decision)
{
    if (!db.isRecording())
        return;
    QString point = QString::number(decision.situation.upCard.cardIndex);
    for (int i = 0; i < decision.situation.playerHand.count(); ++i)
        point += QLatin1Char(' ') + QString::number(decision.situation.playerHand[i].cardIndex);
    if (std::find(decided.begin(), decided.end(), point) != decided.end())
        return;
    decided.push_back(point);
    std::optional<DecisionRecord> record = DecisionValues::record(decision);
    if (!record)
        return;
    record->drill = roundIsDrill;
    decisions.push_back(*record);
}

void TrainingSession::handSettled(int amount, int bankAfter, bool roundEnds)
{
    if (!db.isRecording())
        return;
    hands.push_back({QDateTime::currentDateTimeUtc(), amount, bankAfter, roundIsDrill});
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

HistoryStatistics TrainingSession::statistics() const
{
    return HistoryStatistics::load(db.connection(), db.sessionId());
}

bool TrainingSession::reset()
{
    forgetRound();
    return db.reset();
}

void TrainingSession::startDrill()
{
    drill.emplace(random, DrillPlan::fromStatistics(statistics()));
}

DeckSource &TrainingSession::startRound(DeckSource &normal)
{
    // A round left unsettled is never written.
    forgetRound();
    roundIsDrill = drilling();
    return drill ? static_cast<DeckSource &>(*drill) : normal;
}

QString TrainingSession::drillMarker() const
{
    return drill && drill->current().isValid() ? QStringLiteral("Drill: ") + drill->current().name() : QString();
}
