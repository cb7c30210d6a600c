#pragma once
#include "ChartCell.h"
#include "ChartRows.h"
#include "RandomSource.h"
#include <vector>

struct HistoryStatistics;

// Which cells a drill deals. Every rotation deals each of its cells once and
// as many again drawn by weight, in shuffled order, so no weak spot is left
// out for long and the costliest come up most.
class DrillPlan {
public:
    static constexpr std::size_t leastCells = 10;
    struct Weighted {
        ChartCell cell;
        double weight = 1.0;
    };

    explicit DrillPlan(std::vector<Weighted> cells);
    // The costliest cells of the table's record by chips lost per 100
    // decisions, weighted by that; filled up to ten from the common weak spots.
    static DrillPlan fromStatistics(const HistoryStatistics &statistics);
    // Where most players go wrong, in the cells of the table's chart: stiff
    // hands against 2 to 6, soft doubles, and pair splits.
    static DrillPlan commonWeakSpots(const ChartRows &rows = ChartRows::program());

    const std::vector<Weighted> &cells() const { return weighted; }
    ChartCell next(RandomSource &random);
    // A uniform whole number in [0, count).
    static int pick(RandomSource &random, int count);

private:
    void buildRotation(RandomSource &random);
    std::vector<Weighted> weighted;
    std::vector<ChartCell> rotation;
};
