#include "DrillHand.h"
#include "ChartTable.h"
#include "DrillPlan.h"
#include <utility>
#include <vector>

DrillHand DrillHand::pick(const ChartCell &cell, const ChartRows &rows, RandomSource &random)
{
    std::vector<std::pair<int, int>> hands;
    for (int first = 1; first <= 13; ++first)
        for (int second = first; second <= 13; ++second)
            if (rows.twoCardRow(first, second) == cell.row)
                hands.emplace_back(first, second);
    std::vector<int> upRanks;
    for (int rank = 1; rank <= 13; ++rank)
        if (ChartTable::column(cardValue(Card::fromIndex((rank - 1) * 4))) == cell.column)
            upRanks.push_back(rank);
    DrillHand drawn;
    std::tie(drawn.first, drawn.second) = hands[DrillPlan::pick(random, static_cast<int>(hands.size()))];
    if (DrillPlan::pick(random, 2) == 1)
        std::swap(drawn.first, drawn.second);
    drawn.upRank = upRanks[DrillPlan::pick(random, static_cast<int>(upRanks.size()))];
    return drawn;
}
