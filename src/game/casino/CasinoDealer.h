#pragma once
#include "Shoe.h"
#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

// The casino dealer's final total, exact for the cards left in the shoe.
//
// Every set of cards the dealer can hold and still draw to an up-card is
// listed once, when the dealer is built, with the number of orders in which
// the dealer draws exactly that set without stopping (the rule for soft 17
// decides where orders stop). The chance of the set from a shoe is that
// number times the product of falling factorials of its counts over the
// falling factorial of the shoe's size; each next card that ends the draw
// adds its share to a final total: the share is the cards of its value
// left, so sets of one hard sum are summed first, their cards held apart. No walk over orders per shoe, and a shoe
// short of a card gives its sets a chance of zero by itself.
//
// A dealer natural is settled apart from the play (the dealer peeks, or
// without a hole card takes only the original stakes), so the chances
// returned are joint with "no natural": they sum to the chance of none.
class CasinoDealer {
public:
    static constexpr int outcomes = 6; // 17, 18, 19, 20, 21, bust
    static constexpr int bust = 5;
    using Finals = std::array<double, outcomes>;
    // Finals already found against one up-card, by the shoe's `shoeKey()`.
    using Memo = std::unordered_map<uint64_t, Finals>;

    explicit CasinoDealer(bool hitsSoft17);

    // `shoe` holds every card not seen: the up-card and the player's cards are out.
    Finals finals(const Shoe &shoe, int upValue) const;
    // Chance that the hole card makes a natural with the up-card.
    static double naturalChance(const Shoe &shoe, int upValue);
    // The number of sets listed for an up-card.
    std::size_t drawSets(int upValue) const { return draws[upValue - 1].sets.size(); }

private:
    static constexpr int mostOfOneValue = 16;
    static constexpr int mostCards = 24;
    static constexpr int states = 34;             // hard sum 0..16, with or without an ace
    static constexpr unsigned char drawsOn = 255; // the next card leaves the dealer drawing
    struct DrawSet {
        double orders;
        unsigned char cards;
        unsigned char kinds;
        unsigned char state; // hard sum x 2 + holds an ace: what each next card leads to
        std::array<unsigned char, 10> values; // value index 0..9, `kinds` of them
        std::array<unsigned char, 10> counts;
    };
    struct UpCard {
        std::vector<DrawSet> sets;
        std::array<std::array<unsigned char, 10>, states> outcomeAfter; // by state and next card
    };
    std::array<UpCard, 10> draws;
};
