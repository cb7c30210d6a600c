#pragma once
#include "ChartTable.h"
#include <array>
#include <cstdint>
#include <string>
#include <vector>

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

    explicit RoundSimulator(const ChartTable &chart);

    // Units won in round `round` of the run with this seed; `firstCards`
    // fixes the first three cards dealt (the rest of the deck stays random).
    // `firstAction` ('s', 'h', 'd' or 'p'; 0 for the chart's) replaces the
    // chart's answer on the first two cards only. A "p" on cards of unequal
    // rank is a hit, as the tutor's table plays it.
    int playRound(uint64_t seed, uint64_t round, const FirstCards *firstCards = nullptr, char firstAction = 0);
    // Units won in a round dealt from this deck, deck[51] first, as the table deals it.
    int playRound(const std::array<Card, 52> &deck);
    const SplitHands &lastSplit() const { return split; }

    static Statistics run(const ChartTable &chart, long long rounds, uint64_t seed);
    static Comparison compare(const ChartTable &first, const ChartTable &second, long long rounds, uint64_t seed);
    // One deal, `firstCards`, played with each first action of `actions` on
    // the same decks, every later decision by the chart. Element i compares
    // actions[0] (first) with actions[i + 1] (second).
    static std::vector<Comparison> compareFirstActions(const ChartTable &chart, const FirstCards &firstCards,
                                                       const std::string &actions, long long rounds, uint64_t seed);

private:
    // Plays `others` + 1 results a round, all from the round's one deck, and
    // compares the first with each of the others.
    template <class PlayAll>
    static std::vector<Comparison> compareOnSameDecks(long long rounds, int others, PlayAll &&playAll);

    // The stock, shuffled lazily: each card is drawn uniformly from those not
    // yet dealt when it reaches the top, which deals exactly like a shuffled deck.
    class Stock {
    public:
        // The first `forcedCount` cards dealt are `forcedCards`, in order.
        void reset(uint64_t seed, const int *forcedCards, int forcedCount);
        int topRank();
        int takeRank();

    private:
        uint64_t nextRandom();
        std::array<uint8_t, 52> order{};
        int dealt = 0;
        bool topShown = false;
        const int *forced = nullptr;
        int forcedCount = 0;
        uint64_t state[4]{};
    };

    // What play needs of a hand: no card list, its ranks only as far as the
    // chart's two-card rows look.
    struct PlayedHand {
        int firstRank = 0;
        int secondRank = 0;
        int cards = 0;
        int hardSum = 0;
        bool hasAce = false;

        void add(int rank);
        int total() const { return hasAce && hardSum + 10 <= 21 ? hardSum + 10 : hardSum; }
    };

    int playDealtRound(char firstAction);
    // The tutor's answer, looked up in tables made once from the chart.
    char advice(const PlayedHand &hand, int upValue) const;
    // Plays a hand on to its end as the tutor advises (never splitting), the
    // first decision `firstCode` unless 0; returns the units won. pairRank > 0:
    // the first hand of a split.
    int playHand(PlayedHand &hand, int upValue, int pairRank, char firstCode);
    void hit(PlayedHand &hand, int pairRank);
    void setAside(int pairRank);
    // The dealer turns the hole card, draws by `dealerDraws`, and the hand is settled.
    int settle(const PlayedHand &hand, int upValue, int stake);

    // [up value][first rank][second rank] and, for three or more cards,
    // [up value][sum with aces as 1][holds an ace].
    std::array<std::array<std::array<char, 14>, 14>, 11> twoCardAdvice{};
    std::array<std::array<std::array<char, 2>, 32>, 11> laterAdvice{};
    std::array<uint32_t, 22> dealerDrawsAt{}; // [player total]: bit t set when the dealer draws at t
    Stock stock;
    SplitHands split;
};
