#pragma once
#include "Shoe.h"
#include <array>
#include <cstdint>
#include <vector>

// How the dealer's hand ends, from the up-card and the cards still to come:
// probability of each final total (index 0..21) and of a bust (index 22).
// Under a peeking rule the hole card never completes a blackjack and the
// probabilities sum to the chance of no dealer blackjack instead of 1.
using DealerDistribution = std::array<double, 23>;

// The same for the totals a dealer can end on: 16 to 21 (index total - 16)
// and a bust (index 6). Dealer rules that stop below 16 are out of range.
using DealerFinals = std::array<double, 7>;
constexpr int lowestFinal = 16;
constexpr int bustFinal = 6;

// Every set of cards the dealer can draw after one up-card under one drawing
// pattern, but for busts. A set is a final total, its number of cards and
// the number of orders in which the rule actually draws all of them. Every
// order of the same cards is equally likely whatever the shoe, so a shoe's
// distribution is a sum over the sets of orders x (ways to draw the cards) /
// (ways to draw that many cards). The sets are kept as a prefix tree over
// (value, count) pairs: sets sharing their smaller values share that part of
// the product, and a value the shoe lacks skips its whole subtree.
class DealerDrawTree {
public:
    // drawsAt: bit t set when the dealer draws to a total of t. With `peeks`
    // the hole card never completes a blackjack.
    DealerDrawTree(int upValue, uint32_t drawsAt, bool peeks);

    // The tree for this pattern, built on first use and kept for the process.
    static const DealerDrawTree &shared(int upValue, uint32_t drawsAt, bool peeks);

    // The distributions of `count` shoes in one pass over the tree: each node
    // is read once for all of them, and the shoes' products run side by side.
    void evaluate(const Shoe *const *shoes, DealerFinals *const *out, int count) const;

private:
    // Written out in each of the walks below, each compiled for its processor.
    template <int Lanes>
    inline __attribute__((always_inline)) void evaluateLanes(const Shoe *const *shoes, DealerFinals *const *out,
                                                             int count) const;
    static void walk(const DealerDrawTree &tree, int lanes, const Shoe *const *shoes, DealerFinals *const *out,
                     int count);
    static void walkWithAvx(const DealerDrawTree &tree, int lanes, const Shoe *const *shoes, DealerFinals *const *out,
                            int count);

    static constexpr int maxCount = 4; // of one value in one set: four of a rank, or bust
    static constexpr int maxCards = 12;

    struct Node {
        double orders;       // 0 unless a set ends here
        uint32_t subtreeEnd; // index after this node's subtree
        uint8_t factor;      // value (0-based) x (maxCount + 1) + count
        uint8_t depth;
        uint8_t bucket;      // index into `buckets` when orders > 0, else `spareBucket`
    };
    struct Bucket {
        int final; // index into DealerFinals
        int cards;
    };

    struct Builder;

    // Inner nodes add their zero orders here, so the walk needs no test for a set's end.
    static constexpr int spareBucket = 127;

    std::vector<Node> nodes;
    std::vector<Bucket> buckets;
    int excludedHole; // the value the hole card cannot be behind a peek, or 0
};
