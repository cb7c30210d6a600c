#include "DealerOutcomes.h"
#include <algorithm>

namespace {
// Value that completes a blackjack with this up-card, or 0.
int blackjackPartner(int upValue)
{
    return upValue == 1 ? 10 : upValue == 10 ? 1 : 0;
}

uint64_t setKey(const std::array<uint8_t, 10> &drawn)
{
    uint64_t key = 0;
    for (uint8_t count : drawn)
        key = key << 5 | count;
    return key;
}
}

DealerOutcomes::DealerOutcomes(const GameRules &rules) : rules(rules)
{
    std::array<uint32_t, 22> signature{};
    for (int player = 0; player <= 21; ++player) {
        for (int dealer = 2; dealer <= 21; ++dealer) {
            if (rules.dealerDraws(dealer, player))
                signature[player] |= 1u << dealer;
        }
        playerClass[player] = player;
        for (int earlier = 0; earlier < player; ++earlier) {
            if (signature[earlier] == signature[player]) {
                playerClass[player] = earlier;
                break;
            }
        }
    }
    memo.reserve(1 << 15);
}

double DealerOutcomes::noBlackjack(int upValue, const Shoe &shoe) const
{
    const int partner = blackjackPartner(upValue);
    if (!rules.dealerPeeks || partner == 0)
        return 1.0;
    return 1.0 - double(shoe.count(partner)) / shoe.total;
}

const DealerOutcomes::DrawnSets &DealerOutcomes::drawnSets(int upValue, int playerClass)
{
    DrawnSets &found = sets[upValue][playerClass];
    if (found.empty()) {
        std::array<uint8_t, 10> drawn{};
        std::unordered_map<uint64_t, std::size_t> index;
        enumerate(upValue, upValue == 1, drawn, 1, upValue, playerClass, index, found);
    }
    return found;
}

// Walks every order of draws from a full deck; a shoe with fewer cards only
// makes some sets impossible.
void DealerOutcomes::enumerate(int hardSum, bool hasAce, std::array<uint8_t, 10> &drawn, int cards, int upValue,
                               int playerClass, std::unordered_map<uint64_t, std::size_t> &index,
                               DrawnSets &sets) const
{
    const int total = bestTotal(hardSum, hasAce);
    if (cards >= 2 && (total > 21 || !rules.dealerDraws(total, playerClass))) {
        auto [at, added] = index.emplace(setKey(drawn), sets.size());
        if (added) {
            DrawnSet set{};
            set.outcome = static_cast<uint8_t>(total > 21 ? 22 : total);
            set.cards = static_cast<uint8_t>(cards - 1);
            for (int i = 0; i < 10; ++i) {
                if (drawn[i] > 0) {
                    set.values[set.distinct] = static_cast<uint8_t>(i);
                    set.counts[set.distinct++] = drawn[i];
                }
            }
            sets.push_back(set);
        }
        sets[at->second].orders += 1.0;
        return;
    }
    const int excluded = cards == 1 && rules.dealerPeeks ? blackjackPartner(upValue) : 0;
    for (int value = 1; value <= 10; ++value) {
        const int available = value == 10 ? 16 : 4;
        if (value == excluded || drawn[value - 1] >= available)
            continue;
        ++drawn[value - 1];
        enumerate(hardSum + value, hasAce || value == 1, drawn, cards + 1, upValue, playerClass, index, sets);
        --drawn[value - 1];
    }
}

const DealerDistribution &DealerOutcomes::distribution(int upValue, const Shoe &shoe, int playerTotal)
{
    const int representative = playerClass[playerTotal];
    const uint64_t key = shoe.countsKey() | uint64_t(upValue) << 32 | uint64_t(representative) << 36;
    auto found = memo.find(key);
    if (found != memo.end())
        return found->second;

    // falling[v][k]: ways to draw k cards of value v in a given order.
    std::array<std::array<double, 17>, 10> falling;
    for (int v = 0; v < 10; ++v) {
        falling[v][0] = 1.0;
        for (int k = 1; k < 17; ++k)
            falling[v][k] = falling[v][k - 1] * std::max(0, shoe.counts[v] - (k - 1));
    }
    std::array<double, 24> perOrder; // 1 / ways to draw m cards in order
    perOrder[0] = 1.0;
    for (int m = 1; m < 24; ++m)
        perOrder[m] = shoe.total - (m - 1) > 0 ? perOrder[m - 1] / (shoe.total - (m - 1)) : 0.0;

    DealerDistribution out{};
    for (const DrawnSet &set : drawnSets(upValue, representative)) {
        double ways = set.orders;
        for (int i = 0; i < set.distinct; ++i)
            ways *= falling[set.values[i]][set.counts[i]];
        out[set.outcome] += ways * perOrder[set.cards];
    }
    return memo.emplace(key, out).first->second;
}
