#pragma once
#include "DecisionValues.h"
#include "DeckSource.h"
#include "DrillDeckSource.h"
#include "HistoryDatabase.h"
#include "HistoryStatistics.h"
#include "RandomSource.h"
#include <memory>
#include <optional>
#include <vector>

// Records the play of this run and deals the drill. A round's decisions and
// hands wait in memory and are written together once it is settled, so a
// round is stored whole or not at all and no card flight waits on the disk.
class TrainingSession {
public:
    TrainingSession(RandomSource &random, const QString &path = HistoryDatabase::defaultPath());

    HistoryDatabase &database() { return db; }
    const HistoryDatabase &database() const { return db; }

    // The first choice at each point of a hand is the one recorded: a choice
    // the tutor stopped counts, whatever is played after it.
    void decide(const DecisionValues::Decision &decision);
    void handSettled(int amount, int bankAfter, bool roundEnds);
    // Rounds written so far this run.
    int roundsWritten() const { return written; }

    HistoryStatistics statistics(bool includeFlash = true) const;
    bool reset();

    // While drilling, rounds are dealt from the weak spots of the record.
    void startDrill();
    void stopDrill() { drill.reset(); }
    bool drilling() const { return drill.has_value(); }
    // Starts a round: the source to deal it from.
    DeckSource &startRound(DeckSource &normal);
    // "Drill: soft 17 v 3" for the last round dealt in the drill.
    QString drillMarker() const;

private:
    void forgetRound();
    RandomSource &random;
    HistoryDatabase db;
    std::optional<DrillDeckSource> drill;
    bool roundIsDrill = false;
    std::vector<DecisionRecord> decisions;
    std::vector<HandRecord> hands;
    std::vector<QString> decided; // hand points already recorded this round
    int written = 0;
};
