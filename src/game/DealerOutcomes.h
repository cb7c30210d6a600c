#pragma once
#include "GameRules.h"
#include "Shoe.h"
#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

// How the dealer's hand ends, from the up-card and the cards still to come:
// probability of each final total (index 0..21) and of a bust (index 22).
// Under a peeking rule the hole card never completes a blackjack and the
// probabilities sum to the chance of no dealer blackjack instead of 1.
using DealerDistribution = std::array<double, 23>;

class DealerOutcomes {
public:
    explicit DealerOutcomes(const GameRules &rules);

    // playerTotal (0..21) matters because the dealer's rule may depend on it.
    const DealerDistribution &distribution(int upValue, const Shoe &shoe, int playerTotal);
    // Chance that the hole card does not give the dealer a blackjack (1 without peeking).
    double noBlackjack(int upValue, const Shoe &shoe) const;
    std::size_t cachedCount() const { return memo.size(); }

private:
    // One set of cards the dealer can draw after the up-card, with the number
    // of orders in which the rule actually draws all of them. Every order of
    // the same cards is equally likely whatever the shoe, so a shoe's
    // distribution is a sum over these sets.
    struct DrawnSet {
        uint8_t outcome;      // final total, 22 for a bust
        uint8_t cards;
        uint8_t distinct;
        std::array<uint8_t, 8> values; // 0-based value index of each distinct card
        std::array<uint8_t, 8> counts;
        double orders;
    };
    using DrawnSets = std::vector<DrawnSet>;

    const DrawnSets &drawnSets(int upValue, int playerClass);
    void enumerate(int hardSum, bool hasAce, std::array<uint8_t, 10> &drawn, int cards, int upValue,
                   int playerClass, std::unordered_map<uint64_t, std::size_t> &index, DrawnSets &sets) const;

    GameRules rules;
    // Player totals that make the dealer play alike share one class, found by
    // asking the rule itself.
    std::array<int, 22> playerClass{};
    std::array<std::array<DrawnSets, 22>, 11> sets; // [up value][class]
    std::unordered_map<uint64_t, DealerDistribution> memo;
};

// A hand total counting one ace as 11 when that stays at 21 or below, the
// way `handTotal` counts.
inline int bestTotal(int hardSum, bool hasAce)
{
    return hasAce && hardSum + 10 <= 21 ? hardSum + 10 : hardSum;
}
