// Plays the shipped chart by the program's rules and compares the result with
// the engine's exact figure; then replays the same decks with a textbook
// single-deck chart; then checks the split's second-hand approximation.
// Usage: simulate [rounds] [seed] [chart file]
#include "RoundSimulator.h"
#include "StrategyEngine.h"
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {
bool readChart(const std::string &path, ChartTable &chart)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return file && chart.fromText(text.str());
}

// Split hands of one pair against one up-card, dealt again and again.
void checkSplit(StrategyEngine &engine, const ChartTable &chart, int pairRank, int upRank, long long rounds)
{
    const RoundSimulator::FirstCards cards{(upRank - 1) * 4, (pairRank - 1) * 4, (pairRank - 1) * 4 + 1};
    RoundSimulator simulator(chart);
    double sum[2] = {}, squares[2] = {};
    long long splits = 0;
    for (long long round = 0; round < rounds; ++round) {
        simulator.playRound(977, static_cast<uint64_t>(round), &cards);
        const RoundSimulator::SplitHands &hands = simulator.lastSplit();
        if (!hands.happened)
            return;
        ++splits;
        const int results[2] = {hands.first, hands.second};
        for (int i = 0; i < 2; ++i) {
            sum[i] += results[i];
            squares[i] += double(results[i]) * results[i];
        }
    }
    const int pairValue = pairRank > 10 ? 10 : pairRank;
    const int upValue = upRank > 10 ? 10 : upRank;
    Shoe shoe = Shoe::fullDeck();
    shoe.remove(upValue);
    shoe.remove(pairValue);
    shoe.remove(pairValue);
    const SplitValue exact = engine.chartSplit(chart, pairRank, 2 - (upRank == pairRank), upValue, shoe);
    const double values[2] = {exact.first, exact.second};
    for (int i = 0; i < 2; ++i) {
        const double mean = sum[i] / splits;
        const double error = std::sqrt((squares[i] / splits - mean * mean) / splits);
        std::printf("  pair %2d v %2d, %s hand: engine %+.5f, simulated %+.5f +- %.5f, difference %+.5f (%.1f SE)\n",
                    pairRank, upRank, i == 0 ? "first " : "second", values[i], mean, error, values[i] - mean,
                    (values[i] - mean) / error);
    }
}
}

int main(int argc, char **argv)
{
    const long long rounds = argc > 1 ? std::atoll(argv[1]) : 100'000'000LL;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20240601u;
    const std::string path = argc > 3 ? argv[3] : VANTREL_SOURCE_DIR "/data/bjdata.txt";
    ChartTable chart;
    if (!readChart(path, chart)) {
        std::fprintf(stderr, "cannot read a complete chart from %s\n", path.c_str());
        return 1;
    }
    const ChartTable textbook = ChartTable::textbookSingleDeck();
    StrategyEngine engine;
    const double exact = engine.chartRoundValue(chart);
    const double exactTextbook = engine.chartRoundValue(textbook);

    const auto start = std::chrono::steady_clock::now();
    const RoundSimulator::Comparison result = RoundSimulator::compare(chart, textbook, rounds, seed);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    auto report = [](const char *name, double engineValue, const RoundSimulator::Statistics &s) {
        std::printf("%s: engine %+.6f, simulated %+.6f +- %.6f (%lld rounds), %.2f SE apart\n", name, engineValue,
                    s.mean, s.standardError, s.rounds, (s.mean - engineValue) / s.standardError);
    };
    std::printf("Expected result per round, units staked (house edge = minus this):\n");
    report("shipped chart ", exact, result.first);
    report("textbook chart", exactTextbook, result.second);
    report("shipped - textbook, same decks", exact - exactTextbook, result.difference);
    std::printf("shipped chart ahead by %.1f standard errors of the paired difference\n",
                result.difference.mean / result.difference.standardError);
    std::printf("%.1f s for %lld rounds of each chart\n\n", seconds, rounds);

    std::printf("Split: first hand exact, second hand approximated (engine) against play:\n");
    const long long splitRounds = std::max(rounds / 50, 10'000LL);
    const int checks[][2] = {{8, 10}, {8, 13}, {1, 6}, {9, 7}, {7, 5}, {2, 4}};
    for (const auto &check : checks)
        checkSplit(engine, chart, check[0], check[1], splitRounds);
    return 0;
}
