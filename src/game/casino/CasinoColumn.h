#pragma once
#include "CasinoChart.h"
#include "CasinoDealer.h"
#include "CasinoHands.h"
#include "GameRules.h"
#include <array>
#include <memory>
#include <vector>

// One up-card's column of a casino chart against a full shoe: every hand the
// rounds against that up-card can hold, main hands and split hands, with
// their exact values when every decision follows the chart.
//
// A pass decides the column's cells one row at a time, from the rows whose
// hands draw last (hard 17 and over) to the first (hard 4 to 7), then the
// pairs: a hand's next cards only lead to a higher hard total, or from soft
// to hard, so the rows after a row are already decided when it is. A cell
// takes the code with the highest round value: the hands of its row, each
// weighted by the chance of coming into the row from another (or being
// dealt), valued with the code in every hand of the row. The chance of
// coming in depends on the earlier rows: passes repeat until none changes,
// and then no single cell's change gains.
//
// Splits follow the engine's standard and its error bound (`CasinoEngine`):
// each hand of a split holds its pair card and draws from the shoe without
// the other hand's, weighted by the average number of hands a split ends in.
class CasinoColumn {
public:
    static constexpr int codes = 8;
    using Gains = std::array<std::array<double, codes>, CasinoChart::rows>;

    CasinoColumn(const GameRules &rules, const CasinoDealer &dealer, const Shoe &fullShoe, int upValue);

    // One pass over this column of `chart`; true when a cell changed.
    bool improve(CasinoChart &chart);
    // Every candidate code's round value per row in the last pass (per round
    // against this up-card, NaN where the code is not a candidate).
    const Gains &gains() const { return codeGains; }
    // The round's value per original stake against this up-card, every
    // decision following `chart`, naturals included.
    double roundValue(const CasinoChart &chart);
    // After `roundValue`: the value of splitting a pair of this value, per
    // original stake, joint with "no dealer natural".
    double splitValue(int pairValue) const;

private:
    enum class Kind { First, SplitFirst, Later, Fixed };
    struct Family {
        std::unique_ptr<CasinoHands> hands;
        int pairValue = 0; // 0 for the main hands
        std::vector<Kind> kind;
        std::vector<int> row; // the row deciding the hand, -1 for none
        std::vector<CasinoChart::Allowed> allowed;
        std::vector<double> dealt, reach, entry, value, candidate;
        std::vector<int> byCount;    // hands in order of card count
        std::array<int, 10> second{}; // a split's two-card hand by its second card's value index
        std::array<double, 10> secondChance{};
    };
    struct Place {
        int family;
        int hand;
    };

    void addFamily(int pairValue);
    void classify(Family &family, int pairValue);
    double valueWith(const Family &family, int hand, CasinoChart::Code code, int deciding) const;
    void reachAll(const CasinoChart &chart);
    void valueAll(const CasinoChart &chart);
    CasinoChart::Code decide(int row, const std::vector<CasinoChart::Code> &candidates);

    const GameRules &rules;
    const CasinoDealer &dealer;
    CasinoDealer::Memo memo;
    Shoe shoe; // the full shoe less the up-card
    int up;
    std::vector<Family> families;                  // main hands, then one per pair value split
    std::array<int, 11> familyOfPair{};            // by pair value, -1 when none
    std::array<double, 11> otherCardShare{};       // per split: hands with another second card, over the chance of one
    std::array<double, 11> pairAgainHands{};
    std::array<int, 11> pairHand{};                // the main hand of each pair
    std::array<std::vector<Place>, CasinoChart::rows> rowHands; // by hard sum, highest first
    double naturals = 0.0;                         // the naturals' part of the round value
    Gains codeGains{};
};
