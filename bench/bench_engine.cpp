// Speed of the strategy engine and the simulator, one core each.
#include "ChartDerivation.h"
#include "LiveOdds.h"
#include "RoundSimulator.h"
#include <chrono>
#include <cstdio>

namespace {
using Clock = std::chrono::steady_clock;
double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

Hand handOf(std::initializer_list<int> ranks)
{
    Hand hand;
    int suit = 0;
    for (int rank : ranks)
        hand.add(Card::fromIndex((rank - 1) * 4 + (suit++ % 4)));
    return hand;
}
}

int main()
{
    auto start = Clock::now();
    StrategyEngine engine;
    const ChartTable chart = ChartDerivation(engine).derive();
    std::printf("whole chart (28 x 10, exact, each cell best as the chart is played): %.1f ms\n",
                millisecondsSince(start));

    // Live odds of fresh hands: each query on a new engine, nothing remembered.
    double worst = 0.0, total = 0.0;
    int queries = 0;
    for (int up = 1; up <= 10; ++up) {
        for (auto ranks : {std::initializer_list<int>{10, 2}, {5, 3}, {1, 6}, {2, 2}}) {
            LiveOdds odds;
            LiveOdds::Situation situation;
            situation.playerHand = handOf(ranks);
            situation.upCard = Card::fromIndex((up - 1) * 4 + 3);
            start = Clock::now();
            odds.compute(situation);
            const double ms = millisecondsSince(start);
            worst = std::max(worst, ms);
            total += ms;
            ++queries;
        }
    }
    std::printf("live odds of one hand: mean %.3f ms, worst %.3f ms over %d fresh hands (target 1 ms)\n",
                total / queries, worst, queries);

    const long long rounds = 5'000'000;
    start = Clock::now();
    RoundSimulator::run(chart, rounds, 1);
    const double seconds = millisecondsSince(start) / 1000.0;
    std::printf("simulator: %.2f million rounds per second (target 5)\n", rounds / seconds / 1e6);
    return 0;
}
