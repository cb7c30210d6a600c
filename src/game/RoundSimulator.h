#pragma once
#include "Card.h"
#include "ChartTable.h"
#include "Hand.h"
#include <array>
#include <cstdint>

// Plays whole rounds by the program's rules (fresh 52-card deck, hole card
// taken at the stand, `handTotal`, `dealerDraws`, the split with its set-aside
// cards and second dealer hand), every decision the tutor's answer from a
// chart. A round's deck depends only on the seed and the round number, so two
// charts can be compared on the very same cards.
class RoundSimulator {
public:
    struct Statistics {
        long long rounds = 0;
        double mean = 0.0;          // units won per round (negative: the house wins)
        double standardError = 0.0;
    };
    struct Comparison {
        Statistics first, second;
        Statistics difference;      // first minus second, round by round
    };

    // Units won by each hand of the last round's split.
    struct SplitHands {
        bool happened = false;
        int first = 0;
        int second = 0;
    };
    using FirstCards = std::array<int, 3>; // card indexes: up-card, player's two cards

    explicit RoundSimulator(const ChartTable &chart) : chart(chart) {}

    // Units won in round `round` of the run with this seed; `firstCards`
    // fixes the first three cards dealt (the rest of the deck stays random).
    int playRound(uint64_t seed, uint64_t round, const FirstCards *firstCards = nullptr);
    const SplitHands &lastSplit() const { return split; }

    static Statistics run(const ChartTable &chart, long long rounds, uint64_t seed);
    static Comparison compare(const ChartTable &first, const ChartTable &second, long long rounds, uint64_t seed);

private:
    // The stock, shuffled lazily: each card is drawn uniformly from those not
    // yet dealt when it reaches the top, which deals exactly like a shuffled deck.
    class Stock {
    public:
        void reset(uint64_t seed, const FirstCards *firstCards);
        const Card &top();
        Card take();
        void dropTop() { take(); }

    private:
        uint64_t nextRandom();
        std::array<uint8_t, 52> order{};
        int dealt = 0;
        bool topShown = false;
        Card shown;
        uint64_t state[4]{};
        const FirstCards *forced = nullptr;
    };

    // Plays a hand on to its end as the tutor advises (never splitting);
    // returns the units won. pairRank > 0: the first hand of a split.
    int playHand(Hand &hand, const Card &up, int pairRank);
    void hit(Hand &hand, int pairRank);
    void setAside(int pairRank);
    // The dealer turns the hole card, draws by `dealerDraws`, and the hand is settled.
    int settle(const Hand &hand, const Card &up, int stake);

    const ChartTable &chart;
    Stock stock;
    Hand playerHand, splitHand, dealerHand;
    SplitHands split;
};
