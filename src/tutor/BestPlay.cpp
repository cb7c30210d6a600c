#include "BestPlay.h"
#include "Alert.h"

namespace {
// A two-card hand class: the key ispair/issoft name it by, its chart row and
// its strategy-window line.
struct HandClass {
    const char *key;
    int row;
    int16_t line;
};

// Indexed by the pair's rank (ace 0 .. nine 8, then ten-value 9).
const HandClass pairClasses[] = {
    {"11", 18, 12}, {"22", 19, 13}, {"33", 20, 13}, {"44", 21, 14}, {"55", 22, 15},
    {"66", 23, 16}, {"77", 24, 17}, {"88", 25, 18}, {"99", 26, 19}, {"1010", 27, 20},
};

// Indexed by the soft total minus 13 (ace-2 .. ace-9).
const HandClass softClasses[] = {
    {"a2", 10, 7}, {"a3", 11, 7}, {"a4", 12, 8}, {"a5", 13, 8},
    {"a6", 14, 9}, {"a7", 15, 10}, {"a8", 16, 11}, {"a9", 17, 11},
};

constexpr int softEighteenRow = 15; // A7; A8 and A9 follow it

template <std::size_t N>
int rowOf(const HandClass (&classes)[N], const QString &key)
{
    for (const HandClass &handClass : classes) {
        if (key == QLatin1String(handClass.key))
            return handClass.row;
    }
    return -1;
}

QString keyOf(const HandClass &handClass, int16_t &theChartLine)
{
    theChartLine = handClass.line;
    return QLatin1String(handClass.key);
}

// Hard totals: the chart row, and the window line through `theChartLine`;
// -1 (line untouched) for a total without a row.
int hardRow(int16_t playerTotal, int16_t &theChartLine)
{
    int row = -1;
    int16_t line = 0;
    if (playerTotal >= 17 && playerTotal <= 20) {
        row = 9;
        line = 6;
    } else if (playerTotal >= 13 && playerTotal <= 16) {
        row = playerTotal - 8;
        line = 5;
    } else if (playerTotal >= 9 && playerTotal <= 12) {
        row = playerTotal - 8;
        line = static_cast<int16_t>(row);
    } else if (playerTotal >= 3 && playerTotal <= 8) {
        row = 0;
        line = 0;
    }
    if (row >= 0)
        theChartLine = line;
    return row;
}
}

QString BestPlay::chartLookup(const Hand &playerHand, int16_t playerTotal, int16_t &dealerTotal,
                              int16_t &theChartLine) const
{
    if (dealerTotal == 1)
        dealerTotal = 11;
    const int column = dealerTotal - 2;

    int row = rowOf(pairClasses, ispair(playerHand, theChartLine));
    const int softRow = row < 0 ? rowOf(softClasses, issoft(playerHand, theChartLine)) : -1;
    if (row < 0)
        row = softRow;
    if (row < 0)
        row = hardRow(playerTotal, theChartLine);
    if (row < 0)
        return {};
    if (column < 0 || column > 9) {
        Alert::show(QStringLiteral("Subscript out of range"));
        return {};
    }
    const QString &cell = chart.strategyChart[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    // The chart's "d" is two-card advice; a hand that has drawn can no
    // longer double. A soft 18 or more is then better kept than hit.
    if (playerHand.count() > 2 && cell == QLatin1String("d"))
        return softRow >= softEighteenRow ? QStringLiteral("s") : QStringLiteral("h");
    return cell;
}

QString BestPlay::ispair(const Hand &playerHand, int16_t &theChartLine)
{
    if (playerHand.count() != 2)
        return {};
    const int rank = playerHand[0].rank;
    if (rank != playerHand[1].rank || rank < 1 || rank > 13)
        return {};
    return keyOf(pairClasses[rank >= 10 ? 9 : rank - 1], theChartLine);
}

QString BestPlay::issoft(const Hand &playerHand, int16_t &theChartLine)
{
    // Any hand with an ace that can count 11: A-2-3 is soft 16 like A-5.
    // Soft 12 is the pair of aces; soft 21 is never looked up.
    int hardSum = 0;
    bool hasAce = false;
    for (int i = 0; i < playerHand.count(); ++i) {
        hardSum += cardValue(playerHand[i]);
        hasAce = hasAce || playerHand[i].rank == 1;
    }
    const int softTotal = hardSum + 10;
    if (!hasAce || softTotal < 13 || softTotal > 20)
        return {};
    return keyOf(softClasses[softTotal - 13], theChartLine);
}
