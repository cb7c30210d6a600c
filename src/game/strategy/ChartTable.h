#pragma once
#include "Hand.h"
#include <array>
#include <string>

// The strategy chart as the engine reads it: 28 hand-class rows by 10 up-card
// columns (2..10, ace) of one-letter codes 'h', 's', 'd', 'p'. The row of a
// hand follows the tutor's lookup: a same-rank pair, then ace with 2..9, then
// the hard total. A hand of three or more cards reads the soft row of its
// total when soft (13..20), otherwise the hard row.
class ChartTable {
public:
    static constexpr int rows = 28;
    static constexpr int columns = 10;

    char code(int row, int column) const { return cells[row][column]; }
    void setCode(int row, int column, char code) { cells[row][column] = code; }
    bool operator==(const ChartTable &other) const { return cells == other.cells; }
    bool operator!=(const ChartTable &other) const { return !(*this == other); }

    static int column(int upValue) { return upValue == 1 ? 9 : upValue - 2; }
    // Row for a total of 3..20, -1 for any other total.
    static int hardRow(int total);
    // Row for the first two cards, given by rank (1..13).
    static int twoCardRow(int rank1, int rank2);
    static bool isPairRow(int row) { return row >= 18; }
    // The rank a split hand's second card is read by, given its value: never
    // the pair's own rank, which the stock sets aside, so a ten-value card
    // drawn to a pair of tens stands for a jack, queen or king.
    static int splitCardRank(int pairRank, int value) { return value == 10 && pairRank == 10 ? 11 : value; }
    // Row for a hand of three or more cards (every ace counted 1 in hardSum),
    // -1 for 21 and over: soft 21 ends the hand.
    static int laterRow(int hardSum, bool hasAce);
    // What a "d" becomes on a hand that can no longer double: a soft 18 or
    // more stands, anything else draws.
    static char withoutDouble(int total, bool soft) { return soft && total >= 18 ? 's' : 'h'; }
    // A code as played on a hand of three or more cards, whose "d" stands
    // when `doubleStands` (withoutDouble's answer) and draws otherwise.
    static char laterCode(char code, bool doubleStands) { return code == 'd' ? (doubleStands ? 's' : 'h') : code; }
    // H3-8 and H17-20: rows a hand can read again after a hit (5 + 2 is still H3-8).
    static bool isMergedRow(int row) { return row == hardRow(3) || row == hardRow(17); }
    // The tutor's answer for a hand of three or more cards, 's' for one without a row.
    char laterAdvice(int hardSum, bool hasAce, int upValue) const;
    // The tutor's answer for a hand against an up-card value, 's' for a hand
    // without a row.
    char advice(const Hand &hand, int upValue) const;

    // The row's label in the file: "H3-8", "A2", "1010" ...
    static const char *rowLabel(int row);
    // The file format: one line per row, a label and ten codes.
    std::string toText() const;
    // Reads that format (blank lines skipped, fields split at spaces and
    // commas); returns false when a row or a code is missing.
    bool fromText(const std::string &text);

    // A textbook single-deck chart (dealer stands on soft 17, no double after split).
    static ChartTable textbookSingleDeck();

    using CellValues = std::array<std::array<double, columns>, rows>;
    // Chance per round that the first two cards dealt fall in each cell.
    static CellValues dealtChances();

private:
    std::array<std::array<char, columns>, rows> cells{};
};
