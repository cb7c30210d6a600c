#pragma once
#include "DealerDrawTree.h"
#include "FlatMap.h"
#include "GameRules.h"
#include "HugePageAllocator.h"
#include "Shoe.h"
#include <array>
#include <cstdint>
#include <vector>

class DealerOutcomes {
public:
    explicit DealerOutcomes(const GameRules &rules);

    // playerTotal (0..21) matters because the dealer's rule may depend on it.
    DealerDistribution distribution(int upValue, const Shoe &shoe, int playerTotal);
    // The same in short; the reference holds until the next question.
    const DealerFinals &finals(int upValue, const Shoe &shoe, int playerTotal);
    // Works out the outcomes not known yet of several shoes, each with its
    // player total, in one pass per dealer draw tree, and gives where each
    // shoe's outcomes are kept (for `at`): the same values as asking one by
    // one, without looking each shoe up again.
    void prepare(int upValue, const Shoe *const *shoes, const int *playerTotals, int count, int *places);
    // Outcomes `prepare` placed; the reference holds until the next question.
    const DealerFinals &at(int place) const { return known[place]; }
    // Whether the dealer plays the same way against these two player totals.
    bool playsAlike(int playerTotal, int otherTotal) const
    {
        return playerClass[playerTotal] == playerClass[otherTotal];
    }
    // Chance that the hole card does not give the dealer a blackjack (1 without peeking).
    double noBlackjack(int upValue, const Shoe &shoe) const;
    std::size_t cachedCount() const { return known.size(); }
    void forget()
    {
        knownIndex.clear();
        known.clear();
    }
    void reserve(std::size_t count)
    {
        knownIndex.reserve(count);
        known.reserve(count);
    }
private:
    const DealerDrawTree &drawTree(int upValue, int playerClass);
    uint64_t keyOf(int upValue, const Shoe &shoe, int playerTotal) const
    {
        return shoe.countsKey() | uint64_t(upValue) << 41 | uint64_t(playerClass[playerTotal]) << 45;
    }

    GameRules rules;
    // Player totals that make the dealer play alike share one class, found by
    // asking the rule itself; the signature is the set of dealer totals drawn to.
    std::array<int, 22> playerClass{};
    std::array<uint32_t, 22> drawSignature{};
    std::array<std::array<const DealerDrawTree *, 22>, 11> trees{}; // [up value][class]
    // Outcomes worked out, in order, and where each shoe's are: the index's
    // slots stay small, so the table that is half empty costs little memory.
    int knownAt(uint64_t key);
    FlatMap<int> knownIndex;
    std::vector<DealerFinals, HugePageAllocator<DealerFinals>> known;
};

// A hand total counting one ace as 11 when that stays at 21 or below, the
// way `handTotal` counts.
inline int bestTotal(int hardSum, bool hasAce)
{
    return hasAce && hardSum + 10 <= 21 ? hardSum + 10 : hardSum;
}
