#pragma once
#include "FlashCard.h"
#include "FlashChoice.h"
#include "FlashDealer.h"
#include "FlashJudge.h"
#include "FlashTable.h"
#include "LeitnerBoxes.h"
#include "LiveOdds.h"
#include <optional>
#include <vector>

class HistoryDatabase;

// One flash drill: deals a card, works out the exact value of each play on
// it, judges the answer against the chart, moves the cell's Leitner box and
// records both the box and the answer (as a decision marked flash).
class FlashDrill {
public:
    FlashDrill(const FlashTable &table, HistoryDatabase &record, RandomSource &random);

    // What to drill from the next card on; the boxes are read from the record.
    void choose(FlashChoice::Kind kind);
    FlashChoice::Kind choice() const { return kind; }
    // False when the choice holds no cell the chart has a play for.
    bool hasCards() const { return !cells.empty(); }

    // Deals the next card and works out its values.
    const FlashCard &deal();
    const FlashCard &card() const { return current; }
    const ActionOdds &odds() const { return currentOdds; }
    bool awaitingAnswer() const { return awaiting; }

    // Judges the answer to the card dealt. A play the hand does not allow,
    // or a second answer to one card, is ignored.
    std::optional<FlashVerdict> answer(char action, double seconds);

    int streak() const { return currentStreak; }
    int answered() const { return static_cast<int>(times.size()); }
    int rightAnswers() const { return right; }
    // The median time to answer, in seconds; 0 before the first answer.
    double medianSeconds() const;
    int cellsInFirstBox() const { return boxes.inFirstBox(cells); }
    int cellCount() const { return static_cast<int>(cells.size()); }
    const LeitnerBoxes &leitnerBoxes() const { return boxes; }
    const FlashJudge &judge() const { return judging; }

private:
    void record(const FlashVerdict &verdict);

    const StrategyChart &chart;
    HistoryDatabase &history;
    FlashDealer dealer;
    FlashJudge judging;
    LiveOdds liveOdds;
    LeitnerBoxes boxes;
    FlashChoice::Kind kind = FlashChoice::All;
    std::vector<ChartCell> cells;
    FlashCard current;
    ActionOdds currentOdds;
    bool awaiting = false;
    int currentStreak = 0;
    int right = 0;
    std::vector<double> times;
};
