#pragma once
#include "CasinoChart.h"
#include "CasinoRound.h"

// What a casino chart plays on the round's active hand, as one of the
// actions the round allows there: the tutor's answer and the simulator's play.
class CasinoChartPlay {
public:
    static CasinoRound::Action action(const CasinoChart &chart, const CasinoRound &round);
};
