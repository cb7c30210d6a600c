#pragma once
#include "ChartCell.h"
#include <QSqlDatabase>
#include <array>
#include <vector>

// What the record says, read from the sums kept as each decision is stored:
// accuracy for this session and all time, every chart cell, and each session
// in turn. Sums outside what any real play can give are left out and counted.
struct HistoryStatistics {
    // The largest cost one decision can carry, in chips: a doubled stake won
    // against one lost.
    static constexpr double largestCost = 100.0;
    // The costliest list ranks only cells played this often.
    static constexpr int rankedDecisions = 5;

    struct Tally {
        int decisions = 0;
        int mistakes = 0;  // other than the advice and no better for the cards
        int offChart = 0;  // other than the advice, yet better for the cards
        double cost = 0.0; // chips given away against the advised play
        int matched() const { return decisions - mistakes - offChart; }
        double accuracy() const { return decisions ? double(matched()) / decisions : 0.0; }
        Tally &operator+=(const Tally &other);
    };
    struct Cell {
        Tally tally;
        char commonestWrong = 0; // the wrong action chosen most often there
        double costPer100() const { return tally.decisions ? 100.0 * tally.cost / tally.decisions : 0.0; }
    };
    struct Session {
        qint64 id = 0;
        Tally tally;
    };

    Tally thisSession;
    Tally allTime;
    std::array<Cell, 280> cells{}; // by ChartCell::index()
    std::vector<Session> sessions; // oldest first
    int damagedRows = 0;           // stored rows left out of every figure

    static HistoryStatistics load(const QSqlDatabase &db, qint64 session);
    const Cell &cell(const ChartCell &at) const { return cells[at.index()]; }
    // Cells that lost chips and were played at least `leastDecisions` times,
    // the most per 100 decisions first.
    std::vector<ChartCell> costliest(std::size_t count, int leastDecisions = 1) const;
};
