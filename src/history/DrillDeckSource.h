#pragma once
#include "ChartCell.h"
#include "DeckSource.h"
#include "DrillPlan.h"
#include "RandomSource.h"

// Deals a drill round at the program's table: the up-card and the player's
// two cards make the next cell of the plan, drawn at random among the cards
// that do; the other 49 cards are shuffled fairly beneath them.
class DrillDeckSource : public DeckSource {
public:
    DrillDeckSource(RandomSource &random, DrillPlan plan) : random(random), plan(std::move(plan)) {}
    void build(std::array<Card, 52> &deck) override;
    void buildCell(const ChartCell &cell, std::array<Card, 52> &deck);
    // The cell of the last deck built.
    ChartCell current() const { return dealt; }
    const DrillPlan &drillPlan() const { return plan; }

private:
    RandomSource &random;
    DrillPlan plan;
    ChartCell dealt;
};
