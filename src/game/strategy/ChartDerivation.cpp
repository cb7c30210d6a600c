#include "ChartDerivation.h"
#include "ChartEvaluation.h"
#include <algorithm>

namespace {
// Gains smaller than this are rounding, and must not make the search cycle.
constexpr double noise = 1e-12;

// The codes a cell may take other than its own, in the order ties are settled.
template <class F> void forEachOtherCode(int row, char current, F &&f)
{
    for (const char code : {'s', 'h', 'd', 'p'}) {
        if (code != current && (code != 'p' || ChartTable::isPairRow(row)))
            f(code);
    }
}
}

ChartTable ChartDerivation::derive()
{
    return improveAsPlayed(bestPlayChart());
}

ChartTable ChartDerivation::deriveByReference()
{
    return improveByReference(bestPlayChart());
}

ChartTable ChartDerivation::improveAsPlayed(ChartTable chart)
{
    ChartEvaluation evaluation(engine);
    evaluation.evaluate(chart);
    // A change leaves the other cells' gains exact unless they interact: a
    // cell's hands read only its own column, except a pair cell's split,
    // whose second hands meet every up-card; and which split hands are
    // played depends on the pair cells. Cells are valued again only when a
    // change since the last evaluation touches them.
    std::array<bool, ChartTable::columns> columnChanged{};
    bool anyColumnChanged = false, pairChanged = false;
    for (bool changed = true; changed;) {
        changed = false;
        for (int row = 0; row < ChartTable::rows; ++row) {
            const bool pairRow = ChartTable::isPairRow(row);
            for (int column = 0; column < ChartTable::columns; ++column) {
                const bool stale = pairRow ? anyColumnChanged || (pairChanged && evaluation.splitHandsReadPairRows())
                                           : columnChanged[column] || pairChanged;
                if (stale) {
                    evaluation.evaluate(chart);
                    columnChanged.fill(false);
                    anyColumnChanged = pairChanged = false;
                }
                const char current = chart.code(row, column);
                Margin &margin = cellMargins[row][column];
                double best = -1e9;
                forEachOtherCode(row, current, [&](char code) {
                    const double gain = evaluation.gain(row, column, code);
                    if (gain > best) {
                        best = gain;
                        margin.runnerUp = code;
                    }
                });
                if (best > noise) {
                    chart.setCode(row, column, margin.runnerUp);
                    margin = {current, best};
                    changed = true;
                    if (pairRow)
                        pairChanged = true;
                    else
                        columnChanged[column] = anyColumnChanged = true;
                } else {
                    margin.margin = -best;
                }
            }
        }
    }
    return chart;
}

ChartTable ChartDerivation::improveByReference(ChartTable chart)
{
    double value = engine.chartRoundValue(chart);
    for (bool changed = true; changed;) {
        changed = false;
        for (int row = 0; row < ChartTable::rows; ++row) {
            for (int column = 0; column < ChartTable::columns; ++column) {
                const char current = chart.code(row, column);
                Margin &margin = cellMargins[row][column];
                double runnerUpValue = -1e9;
                forEachOtherCode(row, current, [&](char code) {
                    chart.setCode(row, column, code);
                    const double changedValue = engine.chartRoundValue(chart);
                    if (changedValue > runnerUpValue) {
                        runnerUpValue = changedValue;
                        margin.runnerUp = code;
                    }
                });
                if (runnerUpValue > value + noise) {
                    chart.setCode(row, column, margin.runnerUp);
                    margin = {current, runnerUpValue - value};
                    value = runnerUpValue;
                    changed = true;
                } else {
                    chart.setCode(row, column, current);
                    margin.margin = value - runnerUpValue;
                }
            }
        }
    }
    return chart;
}

ChartTable ChartDerivation::bestPlayChart()
{
    sums = {};
    std::array<int, 14> ranksLeft;
    ranksLeft.fill(4);
    for (int up = 1; up <= 13; ++up) {
        const int upValue = valueOf(up);
        const int column = ChartTable::column(upValue);
        --ranksLeft[up];
        for (int first = 1; first <= 13; ++first) {
            const double pFirst = ranksLeft[first]-- / 51.0;
            for (int second = 1; second <= 13; ++second) {
                const int row = ChartTable::twoCardRow(first, second);
                if (row < 0) // a natural is never looked up
                    continue;
                const double weight = pFirst * ranksLeft[second] / 50.0 / 13.0;
                Shoe shoe = Shoe::fullDeck();
                shoe.remove(upValue);
                shoe.remove(valueOf(first));
                shoe.remove(valueOf(second));
                const PlayerHand hand{valueOf(first) + valueOf(second), first == 1 || second == 1, 2};
                const double stand = engine.stand(hand, upValue, shoe);
                const double hit = engine.hit(hand, upValue, shoe);
                const double doubled = engine.doubleDown(hand, upValue, shoe);
                CellSums &cell = sums[row][column];
                cell[Stand] += weight * stand;
                cell[Hit] += weight * hit;
                cell[Double] += weight * doubled;
                if (hit > std::max(stand, doubled))
                    reachByHitting(hand, shoe, weight);
            }
            ++ranksLeft[first];
        }
        addLaterCards(upValue);
        ++ranksLeft[up];
    }

    ChartTable chart;
    for (int row = 0; row < ChartTable::rows; ++row) {
        for (int column = 0; column < ChartTable::columns; ++column) {
            const CellSums &cell = sums[row][column];
            int best = Stand;
            for (int code = Hit; code < CodeCount; ++code) {
                if (cell[code] > cell[best])
                    best = code;
            }
            chart.setCode(row, column, "shd"[best]);
        }
    }
    return chart;
}

void ChartDerivation::reachByHitting(const PlayerHand &hand, const Shoe &shoe, double weight)
{
    shoe.forEachDraw(false, [&](double probability, int card, const Shoe &after) {
        const PlayerHand next = hand.plus(card);
        if (ChartTable::laterRow(next.hardSum, next.hasAce) < 0) // 21 ends the hand, a bust too
            return;
        const uint64_t key = after.key() | uint64_t(next.hardSum) << 52 | uint64_t(next.hasAce) << 58;
        if (const int *at = laterHandIndex.find(key)) {
            laterHands[*at].weight += weight * probability;
        } else {
            laterHandIndex.insert(key, int(laterHands.size()));
            laterHands.push_back({next, after, weight * probability});
        }
    });
}

// Every hand is reached from hands of one card fewer, which come before it,
// so its weight is complete when its turn comes.
void ChartDerivation::addLaterCards(int upValue)
{
    for (std::size_t i = 0; i < laterHands.size(); ++i) {
        const LaterHand later = laterHands[i];
        const double stand = engine.stand(later.hand, upValue, later.shoe);
        const double hit = engine.hit(later.hand, upValue, later.shoe);
        CellSums &cell = sums[ChartTable::laterRow(later.hand.hardSum, later.hand.hasAce)][ChartTable::column(upValue)];
        cell[Stand] += later.weight * stand;
        cell[Hit] += later.weight * hit;
        const bool soft = later.hand.total() != later.hand.hardSum;
        cell[Double] += later.weight * (ChartTable::withoutDouble(later.hand.total(), soft) == 's' ? stand : hit);
        if (hit > stand)
            reachByHitting(later.hand, later.shoe, later.weight);
    }
    laterHands.clear();
    laterHandIndex.clear();
}
