#pragma once
#include "Hand.h"
#include <array>
#include <optional>
#include <string>

// A basic-strategy chart for a casino table: 30 rows by 10 up-card columns
// (2..10, ace). Rows: H4-7, H8, H9 .. H16, H17, H18-20 (hard totals), A2 ..
// A9 (soft 13..20), AA, 22 .. 1010 (pairs by point value, so any two
// ten-value cards read 1010).
//
// A code says what to do and what to do when the first choice is not allowed
// here: after the first two cards, after a split without doubling, against
// the table's doubling or surrender rule.
class CasinoChart {
public:
    static constexpr int rows = 30;
    static constexpr int columns = 10;

    enum class Code : unsigned char {
        Hit,                // h
        Stand,              // s
        Split,              // p
        Double,             // d: double, else hit
        DoubleElseStand,    // ds
        Surrender,          // r: surrender, else hit
        SurrenderElseStand, // rs
        SurrenderElseSplit, // rp
    };
    enum class Play { Hit, Stand, Double, Split, Surrender };

    // What the table allows for the hand in front of the player.
    struct Allowed {
        bool doubleDown = false;
        bool split = false;
        bool surrender = false;
    };

    Code code(int row, int column) const { return cells[row][column]; }
    void setCode(int row, int column, Code code) { cells[row][column] = code; }
    bool operator==(const CasinoChart &other) const { return cells == other.cells; }
    bool operator!=(const CasinoChart &other) const { return !(*this == other); }

    static int column(int upValue) { return upValue == 1 ? 9 : upValue - 2; }
    // The row of a total (soft when an ace counts 11), -1 for a total
    // without one: 21 (always stands), soft 12 (always hits) and anything
    // outside 4..21.
    static int totalRow(int total, bool soft);
    // The row of a pair of this point value (1 = aces .. 10).
    static int pairRow(int value) { return value == 1 ? 20 : 19 + value; }
    static bool isPairRow(int row) { return row >= 20; }
    static const char *rowLabel(int row);
    static const char *codeText(Code code);
    // What a code comes to where only some plays are allowed; a split code
    // where no split is allowed draws.
    static Play resolve(Code code, Allowed allowed);

    // The play for a hand given by its cards' point values: the sum with
    // every ace counted 1, whether it holds an ace, and the value of the pair
    // when it is two cards of one value (0 otherwise). A pair that may not be
    // split reads the row of its total.
    Play play(int hardSum, bool hasAce, int pairValue, int upValue, Allowed allowed) const;
    Play play(const Hand &hand, int upValue, Allowed allowed) const;
    // The row such a hand reads (-1 for none): its pair's row where it may
    // be split, else its total's.
    static int row(int hardSum, bool hasAce, int pairValue, bool maySplit);
    static int handRow(const Hand &hand, bool maySplit);

    // One line per row: the label, spaces, ten comma-separated codes.
    std::string toText() const;
    // Reads that format. Blank lines are skipped; the rows must come in
    // order. On failure returns nothing and says which line and field.
    static std::optional<CasinoChart> fromText(const std::string &text, std::string *error);

private:
    std::array<std::array<Code, columns>, rows> cells{};
};
