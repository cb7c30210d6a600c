#include "FlashChoice.h"
#include "DrillPlan.h"
#include "HistoryStatistics.h"

QString FlashChoice::name(Kind kind)
{
    switch (kind) {
    case Hard: return QStringLiteral("Hard");
    case Soft: return QStringLiteral("Soft");
    case Pairs: return QStringLiteral("Pairs");
    case WeakSpots: return QStringLiteral("My weak spots");
    default: return QStringLiteral("All");
    }
}

std::vector<ChartCell> FlashChoice::cells(Kind kind, const HistoryStatistics &statistics)
{
    std::vector<ChartCell> chosen;
    if (kind == WeakSpots) {
        const DrillPlan plan = DrillPlan::fromStatistics(statistics);
        for (const DrillPlan::Weighted &spot : plan.cells())
            chosen.push_back(spot.cell);
        return chosen;
    }
    // Rows 0..9 are hard totals, 10..17 soft ones, 18..27 pairs.
    const int first = kind == Soft ? 10 : kind == Pairs ? 18 : 0;
    const int last = kind == Hard ? 9 : kind == Soft ? 17 : 27;
    for (int row = first; row <= last; ++row)
        for (int column = 0; column < 10; ++column)
            chosen.push_back({row, column});
    return chosen;
}
