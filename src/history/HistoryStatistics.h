#pragma once
#include "ChartCell.h"
#include "ChartRows.h"
#include "DecisionRecord.h"
#include <QSqlDatabase>
#include <QString>
#include <array>
#include <vector>

// What the record says of one table, read from the sums kept as each
// decision is stored: accuracy for this session and all time, every cell of
// the table's chart, and each session in turn. Sums outside what any real
// play can give, or of a table no rules text names, are left out and counted.
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

    QString table = DecisionRecord::programRules(); // the rules text of the table
    ChartRows rows = ChartRows::program();
    Tally thisSession;
    Tally allTime;
    std::array<Cell, 300> cells{}; // by ChartCell::index(), as many rows as a casino chart
    std::vector<Session> sessions; // oldest first
    int damagedRows = 0;           // stored rows left out of every figure

    // Flash drill answers count with the table's unless `includeFlash` is off;
    // the program's table unless `table` names another by its rules text.
    static HistoryStatistics load(const QSqlDatabase &db, qint64 session, bool includeFlash = true,
                                  const QString &table = DecisionRecord::programRules());
    // The rules texts of the tables the record holds decisions of: the
    // program's first, then by the session first played in. A text that
    // names no table is left out.
    static std::vector<QString> tables(const QSqlDatabase &db);
    const Cell &cell(const ChartCell &at) const { return cells[at.index()]; }
    // Cells that lost chips and were played at least `leastDecisions` times,
    // the most per 100 decisions first.
    std::vector<ChartCell> costliest(std::size_t count, int leastDecisions = 1) const;
};
