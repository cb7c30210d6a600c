#include "CasinoDerivation.h"
#include "CasinoColumn.h"
#include <cmath>

namespace {
constexpr int mostPasses = 20;
constexpr double noise = 1e-13;
}

CasinoDerivation::CasinoDerivation(const GameRules &rules) : rules(rules), dealer(rules.dealerHitsSoft17) {}

CasinoChart CasinoDerivation::derive()
{
    const Shoe full = Shoe::fullShoe(rules.decks);
    CasinoChart chart;
    // A start that draws to 16 and stands on 17, as the first pass decides
    // the rows that draw last before the rows that lead to them.
    for (int row = 0; row < CasinoChart::rows; ++row)
        for (int column = 0; column < CasinoChart::columns; ++column)
            chart.setCode(row, column, row >= 10 && row <= 11 ? CasinoChart::Code::Stand : CasinoChart::Code::Hit);
    for (int up = 1; up <= 10; ++up) {
        CasinoColumn column(rules, dealer, full, up);
        for (int pass = 0; pass < mostPasses && column.improve(chart); ++pass) {
        }
        const double upChance = double(full.count(up)) / full.total;
        const int at = CasinoChart::column(up);
        for (int row = 0; row < CasinoChart::rows; ++row) {
            const auto &gains = column.gains()[row];
            const double best = gains[static_cast<int>(chart.code(row, at))];
            Margin margin{chart.code(row, at), 0.0};
            double runnerUp = -INFINITY;
            for (int code = 0; code < CasinoColumn::codes; ++code)
                if (!std::isnan(gains[code]) && gains[code] < best - noise && gains[code] > runnerUp) {
                    runnerUp = gains[code];
                    margin = {static_cast<CasinoChart::Code>(code), (best - runnerUp) * upChance};
                }
            cellMargins[row][at] = margin;
        }
    }
    return chart;
}

double CasinoDerivation::expectedValue(const CasinoChart &chart) const
{
    const Shoe full = Shoe::fullShoe(rules.decks);
    double value = 0.0;
    for (int up = 1; up <= 10; ++up) {
        CasinoColumn column(rules, dealer, full, up);
        value += double(full.count(up)) / full.total * column.roundValue(chart);
    }
    return value;
}
