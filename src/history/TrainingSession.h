#pragma once
#include "ChartRows.h"
#include "DealingShoe.h"
#include "DecisionValues.h"
#include "DeckSource.h"
#include "DrillDeckSource.h"
#include "DrillShoeSource.h"
#include "GameRules.h"
#include "HistoryDatabase.h"
#include "HistoryStatistics.h"
#include "RandomSource.h"
#include <memory>
#include <optional>
#include <vector>

// Records the play of this run and deals the drill, at the table whose rules
// it was last given (the program's own until then). A round's decisions and
// hands wait in memory and are written together once it is settled, so a
// round is stored whole or not at all and no card flight waits on the disk.
class TrainingSession {
public:
    TrainingSession(RandomSource &random, const QString &path = HistoryDatabase::defaultPath());

    HistoryDatabase &database() { return db; }
    const HistoryDatabase &database() const { return db; }

    // The table played at from the next round on; a drill going on carries
    // on from that table's weak spots.
    void setRules(const GameRules &rules);
    // Its rules text, as the record names it.
    const QString &table() const { return rulesText; }
    ChartRows chartRows() const { return ChartRows::forTable(rulesText); }

    // The first choice at each point of a hand is the one recorded: a choice
    // the tutor stopped counts, whatever is played after it.
    void decide(const DecisionValues::Decision &decision);
    // In chips; a casino table's may be halves.
    void handSettled(double amount, double bankAfter, bool roundEnds);
    // Rounds written so far this run.
    int roundsWritten() const { return written; }

    // The figures of the table named by its rules text, this one's by default.
    HistoryStatistics statistics(bool includeFlash = true) const { return statistics(includeFlash, rulesText); }
    HistoryStatistics statistics(bool includeFlash, const QString &table) const;
    bool reset();

    // While drilling, rounds are dealt from the weak spots of this table's record.
    void startDrill();
    void stopDrill();
    bool drilling() const { return drill.has_value() || shoeDrill.has_value(); }
    // Starts a round at the program's table: the source to deal it from.
    DeckSource &startRound(DeckSource &normal);
    // Starts a round at a casino table, before its deal (CasinoRound). While
    // drilling, the whole shoe is gathered and ordered for the next weak
    // spot, and true is returned; otherwise the shoe is left as it is.
    bool startShoeRound(DealingShoe &shoe);
    // "Drill: soft 17 v 3" for the last round dealt in the drill.
    QString drillMarker() const;

private:
    void forgetRound();
    RandomSource &random;
    HistoryDatabase db;
    QString rulesText = DecisionRecord::programRules();
    std::optional<DrillDeckSource> drill;     // at the program's table
    std::optional<DrillShoeSource> shoeDrill; // at a casino table
    bool roundIsDrill = false;
    std::vector<DecisionRecord> decisions;
    std::vector<HandRecord> hands;
    std::vector<QString> decided; // hand points already recorded this round
    int written = 0;
};
