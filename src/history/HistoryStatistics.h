#pragma once
#include "ChartCell.h"
#include <QSqlDatabase>
#include <array>
#include <vector>

// What the record says, summed by the database: accuracy for this session
// and all time, every chart cell, and each session in turn.
struct HistoryStatistics {
    struct Tally {
        int decisions = 0;
        int matched = 0;   // the choice was the tutor's advice
        double cost = 0.0; // chips given away against the best play
        double accuracy() const { return decisions ? double(matched) / decisions : 0.0; }
        int mistakes() const { return decisions - matched; }
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

    static HistoryStatistics load(const QSqlDatabase &db, qint64 session);
    const Cell &cell(const ChartCell &at) const { return cells[at.index()]; }
    // Cells that lost chips, the most per 100 decisions first.
    std::vector<ChartCell> costliest(std::size_t count) const;
};
