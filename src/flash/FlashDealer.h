#pragma once
#include "FlashCard.h"
#include "FlashTable.h"
#include "LeitnerBoxes.h"
#include "RandomSource.h"
#include <vector>

// Deals the drill's cards. A cell is picked among those asked about by the
// weight of its Leitner box; its hand is then dealt from a fresh shoe of the
// table's decks: an up-card of the cell's column, and a hand making the
// cell's row, each hand as often as that shoe would deal it. One time in
// five, where the row allows it, the hand is one of three or four cards
// reached by hitting (no total of 21 or more on the way).
class FlashDealer {
public:
    static constexpr int drawnHandOneIn = 5;

    FlashDealer(const FlashTable &table, RandomSource &random) : decks(table.decks), random(random) {}

    // An invalid cell when there is nothing to pick from.
    ChartCell pickCell(const std::vector<ChartCell> &cells, const LeitnerBoxes &boxes);
    FlashCard deal(const ChartCell &cell);
    FlashCard next(const std::vector<ChartCell> &cells, const LeitnerBoxes &boxes) { return deal(pickCell(cells, boxes)); }

private:
    int decks;
    RandomSource &random;
};
