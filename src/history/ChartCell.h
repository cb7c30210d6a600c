#pragma once
#include "Card.h"
#include "Hand.h"
#include <QString>

// One cell of the strategy chart: a hand-class row (0..27 at the program's
// table, 0..29 at a casino's) and an up-card column (0..9 for 2..10, ace). Decisions are counted and drilled by cell.
struct ChartCell {
    int row = -1;
    int column = -1;

    bool isValid() const { return row >= 0 && column >= 0; }
    bool operator==(const ChartCell &other) const { return row == other.row && column == other.column; }
    bool operator!=(const ChartCell &other) const { return !(*this == other); }
    int index() const { return row * 10 + column; }

    // The row the chart reads for the hand.
    static ChartCell of(const Hand &hand, const Card &upCard);
    // "2" .. "10", "A"
    static QString columnName(int column);
    // "soft 17 v 3", by the program's chart rows (ChartRows names a casino table's).
    QString name() const;
};
