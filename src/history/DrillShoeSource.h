#pragma once
#include "ChartCell.h"
#include "DrillPlan.h"
#include "RandomSource.h"
#include "ShoeSource.h"
#include "ShuffledShoeSource.h"

// Orders a casino table's whole shoe for a drill round: the up-card and the
// player's two cards make the next cell of the plan, taken from the shoe's
// own cards; only they are taken out, and the rest of the shoe is shuffled
// fairly beneath them.
class DrillShoeSource : public ShoeSource {
public:
    DrillShoeSource(RandomSource &random, DrillPlan plan) : random(random), shuffle(random), plan(std::move(plan)) {}
    // `cards` holds every card of the shoe.
    void order(std::vector<Card> &cards) override;
    // The cell of the last shoe ordered.
    ChartCell current() const { return dealt; }
    const DrillPlan &drillPlan() const { return plan; }

private:
    RandomSource &random;
    ShuffledShoeSource shuffle;
    DrillPlan plan;
    ChartCell dealt;
};
