#pragma once
#include "ChartCell.h"
#include "Hand.h"
#include <QString>

// The rows of the chart a table is played by, as the record counts them:
// the program's 28 (ChartTable) or a casino table's 30 (CasinoChart), whose
// pairs go by point value. The record names a table by its rules text.
class ChartRows {
public:
    static ChartRows program() { return ChartRows(false); }
    static ChartRows casino() { return ChartRows(true); }
    // `program` names the program's table; any other text a casino's.
    static ChartRows forTable(const QString &rulesText);

    bool isCasino() const { return casinoRows; }
    int count() const;
    // As the table's chart file writes it: "H3-8", "A2", "1010" ...
    QString label(int row) const;
    // "hard 3-8", "soft 17", "pair of 8s" ...
    QString name(int row) const;
    // "soft 17 v 3"
    QString cellName(const ChartCell &cell) const;

    // The cell the chart reads for the hand. At a casino table a pair reads
    // the row of its total where it may not be split, as the chart does.
    ChartCell cellOf(const Hand &hand, const Card &upCard, bool maySplit) const;
    // The row of the round's first two cards, by rank (1..13).
    int twoCardRow(int rank1, int rank2) const;
    int hardRow(int total) const;
    int softRow(int total) const;
    // By the pair's point value, 1 for aces.
    int pairRow(int value) const;

private:
    explicit ChartRows(bool casino) : casinoRows(casino) {}
    bool casinoRows;
};
