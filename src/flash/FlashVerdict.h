#pragma once
#include "LiveOdds.h"
#include <cstdint>
#include <optional>

// The judgement of one answer against the chart, with the exact value of
// every play open on the hand, in chips on the stake.
struct FlashVerdict {
    char answer = 0;
    char chartPlay = 0;    // 0 when the chart has no play the hand can make
    int16_t chartLine = 0; // the strategy window's line of the hand
    ActionOdds odds;

    bool right() const { return chartPlay != 0 && answer == chartPlay; }
    std::optional<double> valueOf(char action) const
    {
        switch (action) {
        case 'h': return odds.hit;
        case 's': return odds.stand;
        case 'd': return odds.doubleDown;
        case 'p': return odds.split;
        default: return std::nullopt;
        }
    }
};
