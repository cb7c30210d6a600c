#pragma once
#include "BestPlay.h"
#include "FlashCard.h"
#include "FlashVerdict.h"
#include <QString>

struct StrategyChart;

// Judges answers against the table's chart, read as the tutor reads it at
// the table, and words the verdict.
class FlashJudge {
public:
    static constexpr int stake = 25;

    explicit FlashJudge(const StrategyChart &chart) : chart(chart), lookup(chart) {}

    // The chart's play for the hand ('h', 's', 'd', 'p'), and its line;
    // 0 when the chart has no play that the hand can make.
    char chartPlay(const FlashCard &card, int16_t &line) const;
    FlashVerdict judge(const FlashCard &card, char answer, const ActionOdds &odds) const;

    // "Hit", "Stand", "Double", "Split"
    static QString actionName(char action);
    // The chart line in words: "13 to 16: Stand: 16 v 2-6, 15 v 3-5, ..."
    QString lineText(int16_t line) const;
    // What a wrong answer gives up against the chart's play, in chips on the
    // stake as the values are shown: "Stand loses 2.7 chips more than Hit on
    // a 25 stake". Empty for a right answer.
    static QString costText(const FlashVerdict &verdict);

private:
    const StrategyChart &chart;
    BestPlay lookup;
};
