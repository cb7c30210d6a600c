#pragma once

struct StrategyChart;

// The table a flash drill deals for: how many decks its shoe holds and the
// chart its answers are judged by. The program's own table deals every
// round from one fresh deck.
struct FlashTable {
    int decks = 1;
    const StrategyChart *chart = nullptr;

    static FlashTable vantrel(const StrategyChart &chart) { return {1, &chart}; }
};
