#pragma once
#include "CasinoChart.h"
#include <array>
#include <string>

// The strategy window's 21 lines for a casino chart, in words: a hand group
// ("13 to 16") and its advice ("Stand against 2 to 6, otherwise hit"). Rows
// of a group that play alike share one advice; rows that differ are named.
class CasinoChartWording {
public:
    static constexpr int lines = 21;
    using Line = std::array<std::string, 2>; // hand group, advice
    static std::array<Line, lines> of(const CasinoChart &chart);
    // One row's advice across the up-cards.
    static std::string rowAdvice(const CasinoChart &chart, int row);
    // The line (0..20) that holds a chart row.
    static int lineOf(int row);
};
