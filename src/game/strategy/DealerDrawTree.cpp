#include "DealerDrawTree.h"
#include "DealerOutcomes.h"
#include "FlatMap.h"
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace {
// Value that completes a blackjack with this up-card, or 0.
int blackjackPartner(int upValue)
{
    return upValue == 1 ? 10 : upValue == 10 ? 1 : 0;
}

// Exact counts of ways, the same for every tree and shoe.
struct Ways {
    // falling[c][k]: ways to draw k cards in a given order from c of a value.
    std::array<std::array<double, 5>, 17> falling;
    // perOrder[n][m]: 1 / ways to draw m cards in a given order from n.
    std::array<std::array<double, 13>, 53> perOrder;

    static const Ways &table()
    {
        static const Ways ways = [] {
            Ways w;
            for (int c = 0; c <= 16; ++c) {
                w.falling[c][0] = 1.0;
                for (int k = 1; k <= 4; ++k)
                    w.falling[c][k] = w.falling[c][k - 1] * std::max(0, c - (k - 1));
            }
            for (int n = 0; n <= 52; ++n) {
                w.perOrder[n][0] = 1.0;
                for (int m = 1; m <= 12; ++m)
                    w.perOrder[n][m] = n - (m - 1) > 0 ? w.perOrder[n][m - 1] / (n - (m - 1)) : 0.0;
            }
            return w;
        }();
        return ways;
    }
};

// Lanes doubles the compiler keeps and computes as one vector.
template <int Lanes> struct LaneVector {
    typedef double Type __attribute__((vector_size(Lanes * sizeof(double))));
};

}

// The set being walked, as counts by value, and the orders of the sets met.
struct DealerDrawTree::Builder {
    DealerDrawTree &tree;
    int upValue;
    int excluded; // a value the hole card cannot be, or 0
    uint32_t drawsAt;
    int maxDraw; // the highest total the dealer draws on
    std::array<uint8_t, 10> drawn{};
    uint64_t key = 1; // `drawn` five bits a value under a leading 1, so never 0
    FlatMap<double> ordersMemo{};
    std::array<std::array<int8_t, maxCards + 1>, 22> bucketIndex = emptyIndex();

    bool grow(int fromValue, int depth, int hardSum, int cards);
    double ordersOf(int cards, int hardSum);
    uint8_t bucketOf(int total, int cards);
    int totalOf(int hardSum) const { return bestTotal(upValue + hardSum, upValue == 1 || drawn[0] > 0); }
    bool drawsTo(int total) const { return total <= 21 && (drawsAt >> total & 1u); }
    // The dealer's total without one card of value v + 1.
    int totalWithout(int v, int hardSum) const
    {
        return bestTotal(upValue + hardSum - (v + 1), upValue == 1 || drawn[0] > (v == 0 ? 1 : 0));
    }
    void setCount(int v, int count)
    {
        key += (uint64_t(count) - drawn[v]) << (5 * (9 - v));
        drawn[v] = static_cast<uint8_t>(count);
    }
    static std::array<std::array<int8_t, maxCards + 1>, 22> emptyIndex()
    {
        std::array<std::array<int8_t, maxCards + 1>, 22> index;
        for (auto &row : index)
            row.fill(-1);
        return index;
    }
};

DealerDrawTree::DealerDrawTree(int upValue, uint32_t drawsAt, bool peeks)
    : excludedHole(peeks ? blackjackPartner(upValue) : 0)
{
    int maxDraw = 0;
    for (int total = 0; total <= 21; ++total) {
        if (drawsAt >> total & 1u)
            maxDraw = total;
    }
    Builder{*this, upValue, peeks ? blackjackPartner(upValue) : 0, drawsAt, maxDraw}.grow(0, 0, 0, 0);
}

const DealerDrawTree &DealerDrawTree::shared(int upValue, uint32_t drawsAt, bool peeks)
{
    static std::mutex guard;
    static std::map<uint64_t, std::unique_ptr<const DealerDrawTree>> trees;
    const uint64_t key = drawsAt | uint64_t(upValue) << 32 | uint64_t(peeks) << 40;
    const std::lock_guard<std::mutex> lock(guard);
    std::unique_ptr<const DealerDrawTree> &tree = trees[key];
    if (!tree)
        tree = std::make_unique<const DealerDrawTree>(upValue, drawsAt, peeks);
    return *tree;
}

// Walks the sets in the tree's order, values ascending and a smaller count of
// a value before a larger one, so a set's prefix comes before it and every
// subtree is one run of nodes. A set of cards is kept when the dealer stops on
// it in at least one order; a prefix node is kept when its subtree keeps one.
bool DealerDrawTree::Builder::grow(int fromValue, int depth, int hardSum, int cards)
{
    bool keptAny = false;
    for (int v = fromValue; v < 10; ++v) {
        const int available = v == 9 ? 16 : 4;
        for (int count = 1; count <= available; ++count) {
            const int sum = hardSum + (v + 1) * count;
            // The cards before the last one drawn make a hand the dealer draws
            // on, so at most `maxDraw` hard, even without the largest card.
            if (cards + count > 1 && upValue + sum - (v + 1) > maxDraw)
                break;
            setCount(v, count);
            const std::size_t at = tree.nodes.size();
            tree.nodes.push_back({0.0, 0, static_cast<uint8_t>(v * (maxCount + 1) + count), static_cast<uint8_t>(depth),
                             spareBucket});
            bool kept = false;
            const int total = totalOf(sum);
            // Busts are left out: the walk finds their chance as what the
            // other outcomes leave, so their many sets cost nothing.
            if (!drawsTo(total) && total <= 21) {
                const double orders = ordersOf(cards + count, sum);
                if (orders > 0.0) {
                    tree.nodes[at].orders = orders;
                    tree.nodes[at].bucket = bucketOf(total, cards + count);
                    kept = true;
                }
            }
            // Larger values can join only while the dealer would still draw here.
            if (upValue + sum <= maxDraw)
                kept = grow(v + 1, depth + 1, sum, cards + count) || kept;
            if (kept)
                tree.nodes[at].subtreeEnd = static_cast<uint32_t>(tree.nodes.size());
            else
                tree.nodes.resize(at);
            keptAny = keptAny || kept;
        }
        setCount(v, 0);
    }
    return keptAny;
}

// Orders in which the dealer draws exactly the cards in `drawn`: the last card
// is any of them, and the cards before it must be a set the dealer draws on.
double DealerDrawTree::Builder::ordersOf(int cards, int hardSum)
{
    if (cards == 1) {
        for (int v = 0; v < 10; ++v) {
            if (drawn[v])
                return v + 1 == excluded ? 0.0 : 1.0;
        }
    }
    if (const double *found = ordersMemo.find(key))
        return *found;
    double orders = 0.0;
    for (int v = 0; v < 10; ++v) {
        if (drawn[v] == 0 || !drawsTo(totalWithout(v, hardSum)))
            continue;
        setCount(v, drawn[v] - 1);
        orders += ordersOf(cards - 1, hardSum - (v + 1));
        setCount(v, drawn[v] + 1);
    }
    ordersMemo.insert(key, orders);
    return orders;
}

uint8_t DealerDrawTree::Builder::bucketOf(int total, int cards)
{
    if (cards > maxCards || total < lowestFinal)
        throw std::logic_error("dealer draw sets beyond the tree's range");
    int8_t &bucket = bucketIndex[total][cards];
    if (bucket < 0) {
        if (tree.buckets.size() >= spareBucket)
            throw std::logic_error("dealer draw sets beyond the tree's range");
        bucket = static_cast<int8_t>(tree.buckets.size());
        tree.buckets.push_back({total - lowestFinal, cards});
    }
    return static_cast<uint8_t>(bucket);
}

void DealerDrawTree::evaluate(const Shoe *const *shoes, DealerFinals *const *out, int count) const
{
    static const bool avx = __builtin_cpu_supports("avx");
    // Narrow batches run narrow; wide ones go eight at a time.
    for (int start = 0; start < count; start += 8) {
        const int n = std::min(8, count - start);
        const int lanes = n <= 2 ? 2 : n <= 4 ? 4 : 8;
        (avx ? walkWithAvx : walk)(*this, lanes, shoes + start, out + start, n);
    }
}

// Each lane does exactly the arithmetic of a walk of its own, in the same
// order: a lane whose shoe lacks a node's cards carries a zero product
// through that subtree and adds only zeros, and a subtree is skipped when
// every lane lacks its cards. The lanes are one vector, so the processor
// works on several of them per instruction.
template <int Lanes>
void DealerDrawTree::evaluateLanes(const Shoe *const *shoes, DealerFinals *const *out, int count) const
{
    using Vector = typename LaneVector<Lanes>::Type;
    const Ways &ways = Ways::table();
    static_assert(sizeof ways.falling[0] == (maxCount + 1) * sizeof(double)
                  && sizeof ways.perOrder[0] == (maxCards + 1) * sizeof(double));
    // falling[value x (maxCount + 1) + k]: ways to draw k cards of the value in a given order.
    constexpr int factors = 10 * (maxCount + 1);
    Vector falling[factors];
    std::array<int, 10> most{}; // of each value in any lane
    Vector perOrder[maxCards + 1];
    Vector everyOutcome; // 1, or the chance of no blackjack behind a peek
    for (int lane = 0; lane < Lanes; ++lane) {
        const Shoe &shoe = *shoes[lane < count ? lane : 0]; // spare lanes repeat the first shoe
        for (int v = 0; v < 10; ++v) {
            for (int k = 0; k <= maxCount; ++k)
                falling[v * (maxCount + 1) + k][lane] = ways.falling[shoe.counts[v]][k];
            most[v] = std::max<int>(most[v], shoe.counts[v]);
        }
        for (int m = 0; m <= maxCards; ++m)
            perOrder[m][lane] = ways.perOrder[shoe.total][m];
        everyOutcome[lane] = excludedHole ? 1.0 - double(shoe.count(excludedHole)) / shoe.total : 1.0;
    }
    std::array<bool, factors> anyLane;
    for (int v = 0; v < 10; ++v) {
        for (int k = 0; k <= maxCount; ++k)
            anyLane[v * (maxCount + 1) + k] = most[v] >= k;
    }
    const Vector zero{};
    Vector sums[spareBucket + 1];
    for (std::size_t b = 0; b < buckets.size(); ++b)
        sums[b] = zero;
    sums[spareBucket] = zero;
    Vector product[maxCards + 1];
    product[0] = zero + 1.0;

    const Node *const first = nodes.data();
    const Node *const end = first + nodes.size();
    for (const Node *node = first; node < end;) {
        if (!anyLane[node->factor]) {
            node = first + node->subtreeEnd;
            continue;
        }
        const Vector here = product[node->depth] * falling[node->factor];
        product[node->depth + 1] = here;
        sums[node->bucket] += node->orders * here;
        ++node;
    }

    Vector finals[bustFinal + 1];
    for (Vector &chance : finals)
        chance = zero;
    for (std::size_t b = 0; b < buckets.size(); ++b)
        finals[buckets[b].final] += sums[b] * perOrder[buckets[b].cards];
    finals[bustFinal] = everyOutcome;
    for (int f = 0; f < bustFinal; ++f)
        finals[bustFinal] -= finals[f];
    for (int lane = 0; lane < count; ++lane) {
        for (int f = 0; f <= bustFinal; ++f)
            (*out[lane])[f] = finals[f][lane];
    }
}

void DealerDrawTree::walk(const DealerDrawTree &tree, int lanes, const Shoe *const *shoes, DealerFinals *const *out,
                          int count)
{
    lanes == 2 ? tree.evaluateLanes<2>(shoes, out, count)
    : lanes == 4 ? tree.evaluateLanes<4>(shoes, out, count)
                 : tree.evaluateLanes<8>(shoes, out, count);
}

// The same walk where the processor has 256-bit vectors: four lanes per
// instruction instead of two. Multiplying and adding stay separate
// instructions, so every lane rounds exactly as before.
__attribute__((target("avx"))) void DealerDrawTree::walkWithAvx(const DealerDrawTree &tree, int lanes,
                                                                const Shoe *const *shoes, DealerFinals *const *out,
                                                                int count)
{
    lanes == 2 ? tree.evaluateLanes<2>(shoes, out, count)
    : lanes == 4 ? tree.evaluateLanes<4>(shoes, out, count)
                 : tree.evaluateLanes<8>(shoes, out, count);
}
