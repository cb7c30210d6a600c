#pragma once
#include "CasinoChart.h"
#include "CasinoDealer.h"
#include "GameRules.h"
#include <array>

// The basic strategy of a casino table, total-dependent, for a full shoe,
// derived as played: every cell holds the code that gives the highest exact
// round value when every decision, split hands included, follows the chart
// (see `CasinoColumn`; each up-card's column is decided on its own, since a
// round's hands all read the column of its up-card). A dealer natural takes
// the original stake whether the dealer peeks or holds no hole card (which
// then takes only the original stakes), so both give the same chart and
// round value.
class CasinoDerivation {
public:
    // A cell's lead over the best code that plays differently, per round.
    struct Margin {
        CasinoChart::Code runnerUp = CasinoChart::Code::Hit;
        double margin = 0.0;
    };
    using Margins = std::array<std::array<Margin, CasinoChart::columns>, CasinoChart::rows>;

    explicit CasinoDerivation(const GameRules &rules);

    CasinoChart derive();
    const Margins &margins() const { return cellMargins; }
    // The round's expected value per original stake, every decision read
    // from `chart`.
    double expectedValue(const CasinoChart &chart) const;

private:
    GameRules rules;
    CasinoDealer dealer;
    Margins cellMargins{};
};
