#include "DrillPlan.h"
#include "HistoryStatistics.h"
#include <algorithm>
#include <cmath>

DrillPlan::DrillPlan(std::vector<Weighted> cells) : weighted(std::move(cells))
{
}

int DrillPlan::pick(RandomSource &random, int count)
{
    return std::clamp(static_cast<int>(std::floor(random.next() * count)), 0, count - 1);
}

DrillPlan DrillPlan::commonWeakSpots(const ChartRows &rows)
{
    std::vector<Weighted> cells;
    for (int total = 12; total <= 16; ++total)
        for (int up = 2; up <= 6; ++up)
            cells.push_back({{rows.hardRow(total), up - 2}});
    for (int softTotal = 13; softTotal <= 18; ++softTotal)
        for (int up = 4; up <= 6; ++up)
            cells.push_back({{rows.softRow(softTotal), up - 2}});
    for (int pair : {1, 2, 3, 6, 7, 8, 9})
        for (int up = 2; up <= 7; ++up)
            cells.push_back({{rows.pairRow(pair), up - 2}});
    return DrillPlan(std::move(cells));
}

DrillPlan DrillPlan::fromStatistics(const HistoryStatistics &statistics)
{
    const std::vector<ChartCell> costliest = statistics.costliest(leastCells);
    if (costliest.empty())
        return commonWeakSpots(statistics.rows);
    std::vector<Weighted> cells;
    for (const ChartCell &cell : costliest)
        cells.push_back({cell, statistics.cell(cell).costPer100()});
    // Too few weak spots recorded yet: the common ones join at the lowest weight.
    const double lowest = cells.back().weight;
    const DrillPlan common = commonWeakSpots(statistics.rows);
    for (const Weighted &spot : common.cells()) {
        if (cells.size() >= leastCells)
            break;
        const bool known = std::any_of(cells.begin(), cells.end(),
                                       [&](const Weighted &cell) { return cell.cell == spot.cell; });
        if (!known)
            cells.push_back({spot.cell, lowest});
    }
    return DrillPlan(std::move(cells));
}

void DrillPlan::buildRotation(RandomSource &random)
{
    double total = 0.0;
    for (const Weighted &cell : weighted)
        total += cell.weight;
    rotation.clear();
    for (const Weighted &cell : weighted)
        rotation.push_back(cell.cell);
    for (std::size_t extra = 0; extra < weighted.size(); ++extra) {
        double point = random.next() * total;
        std::size_t chosen = 0;
        while (chosen + 1 < weighted.size() && point >= weighted[chosen].weight) {
            point -= weighted[chosen].weight;
            ++chosen;
        }
        rotation.push_back(weighted[chosen].cell);
    }
    for (int i = static_cast<int>(rotation.size()) - 1; i > 0; --i)
        std::swap(rotation[i], rotation[pick(random, i + 1)]);
}

ChartCell DrillPlan::next(RandomSource &random)
{
    if (rotation.empty())
        buildRotation(random);
    const ChartCell cell = rotation.back();
    rotation.pop_back();
    return cell;
}
