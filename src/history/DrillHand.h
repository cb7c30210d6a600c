#pragma once
#include "ChartCell.h"
#include "ChartRows.h"
#include "RandomSource.h"

// The ranks a drill deals for a cell: the up-card and the player's two
// cards, drawn at random among the ranks that make the cell on the table's
// chart, the two in either order.
struct DrillHand {
    int upRank = 0;
    int first = 0;
    int second = 0;

    static DrillHand pick(const ChartCell &cell, const ChartRows &rows, RandomSource &random);
};
