#pragma once
#include "ChartCell.h"
#include <QString>
#include <vector>

struct HistoryStatistics;

// What a flash drill asks about: the whole chart, one part of it, or the
// cells the record says cost the most.
class FlashChoice {
public:
    enum Kind { All, Hard, Soft, Pairs, WeakSpots };
    static constexpr int kinds = 5;

    // "All", "Hard", "Soft", "Pairs", "My weak spots"
    static QString name(Kind kind);
    // The cells of the choice; the weak spots are read from `statistics`.
    static std::vector<ChartCell> cells(Kind kind, const HistoryStatistics &statistics);
};
