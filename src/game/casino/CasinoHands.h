#pragma once
#include "CasinoDealer.h"
#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

// Every hand a player can hold from one shoe against one up-card, each set
// of cards met once however its cards came (the value of a hand depends on
// its cards, not their order). A hand knows the chance of each next card and
// where that card leads; its exact stand value is found when first asked
// for, as the best play never stands on some hands. Values are joint with
// "the dealer holds no natural", as the dealer's chances are: a natural is
// settled apart.
class CasinoHands {
public:
    using Cards = std::array<uint8_t, 10>; // by value index 0 (ace) .. 9 (ten-values)
    static constexpr int busted = -1;

    struct Hand {
        Cards cards{};
        int hardSum = 0; // aces counted 1
        bool hasAce = false;
        int count = 0;
        double noNatural = 0.0; // chance the dealer holds no natural, these cards seen
        // After the hand is complete (`grow`): the next card's chance and the
        // hand it makes, `busted` past 21; no next card at 21 or more.
        std::array<double, 10> chance{};
        std::array<int, 10> next{};
        std::array<double, 10> bustValue{}; // the hand's loss when that card busts it
        bool open = false; // takes cards

        bool soft() const { return hasAce && hardSum + 10 <= 21; }
        int total() const { return soft() ? hardSum + 10 : hardSum; }
        // No card can bust the hand and standing wins only on a dealer bust:
        // drawing and then standing is never worse than standing.
        bool drawsForFree() const { return total() <= 16 && (soft() || hardSum <= 11); }
    };

    // `shoe` holds every card the hands draw from: the up-card is out. Trees
    // against one up-card may share `memo`: a split hand and a main hand
    // often leave the dealer the same cards.
    CasinoHands(const CasinoDealer &dealer, const Shoe &shoe, int upValue, CasinoDealer::Memo &memo);

    // The hand holding these cards, with every hand reachable from it by
    // drawing while under 21 unless `drawing` is false.
    int add(const Cards &cards, bool drawing = true);
    const Hand &operator[](int index) const { return hands[index]; }
    // The value of standing on a hand of 21 or less.
    double stand(int index) const;
    int size() const { return static_cast<int>(hands.size()); }
    const Shoe &shoe() const { return base; }
    int upValue() const { return up; }
    // The chance of drawing a card of this value after the cards given.
    double drawChance(const Cards &cards, int count, int value) const
    {
        return double(base.counts[value - 1] - cards[value - 1]) / (base.total - count);
    }

private:
    int make(const Cards &cards);
    static uint64_t keyOf(const Cards &cards);
    double noNaturalAfter(const Cards &cards, int count) const;

    const CasinoDealer &dealer;
    CasinoDealer::Memo &memo;
    Shoe base;
    int up;
    std::vector<Hand> hands;
    mutable std::vector<double> stands; // NaN until asked for
    std::unordered_map<uint64_t, int> index;
};
