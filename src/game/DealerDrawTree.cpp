#include "DealerDrawTree.h"
#include "DealerOutcomes.h"
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

}

DealerDrawTree::DealerDrawTree(int upValue, uint32_t drawsAt, bool peeks)
{
    const SetOrders found = enumerate(upValue, peeks ? blackjackPartner(upValue) : 0, drawsAt);

    // Each set as its path of (value, count) pairs, smaller values first;
    // sorting the paths puts every prefix before the sets that extend it.
    struct Set {
        std::vector<std::pair<uint8_t, uint8_t>> path;
        int outcome = 0;
        int cards = 0;
        double orders = 0.0;
    };
    std::map<std::vector<std::pair<uint8_t, uint8_t>>, Set> sets;
    for (const auto &[counts, outcomeAndOrders] : found) {
        std::vector<std::pair<uint8_t, uint8_t>> path;
        int cards = 0;
        for (uint8_t v = 0; v < 10; ++v) {
            if (counts[v] > 0) {
                if (counts[v] > maxCount)
                    throw std::logic_error("dealer draw set beyond the tree's range");
                path.emplace_back(v, counts[v]);
                cards += counts[v];
            }
        }
        Set &set = sets[path];
        set.path = path;
        set.outcome = outcomeAndOrders.first;
        set.cards = cards;
        set.orders = outcomeAndOrders.second;
    }

    std::map<std::pair<int, int>, uint8_t> bucketOf;
    std::vector<std::size_t> open; // nodes of the current path, by depth
    const std::vector<std::pair<uint8_t, uint8_t>> *previous = nullptr;
    for (const auto &[path, set] : sets) {
        std::size_t common = 0;
        if (previous) {
            while (common < previous->size() && common < path.size() && (*previous)[common] == path[common])
                ++common;
        }
        // Subtrees deeper than the shared prefix are complete.
        while (open.size() > common) {
            nodes[open.back()].subtreeEnd = static_cast<uint32_t>(nodes.size());
            open.pop_back();
        }
        for (std::size_t depth = common; depth < path.size(); ++depth) {
            open.push_back(nodes.size());
            nodes.push_back({0.0, 0, static_cast<uint8_t>(path[depth].first * (maxCount + 1) + path[depth].second),
                             static_cast<uint8_t>(depth), spareBucket});
        }
        const auto [at, added] = bucketOf.emplace(std::make_pair(set.outcome, set.cards), uint8_t(buckets.size()));
        if (added) {
            if (set.cards > maxCards || buckets.size() >= spareBucket)
                throw std::logic_error("dealer draw sets beyond the tree's range");
            buckets.push_back({set.outcome, set.cards});
        }
        nodes.back().orders = set.orders;
        nodes.back().bucket = at->second;
        previous = &path;
    }
    for (std::size_t index : open)
        nodes[index].subtreeEnd = static_cast<uint32_t>(nodes.size());
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

// Counts the orders level by level, one more card at a time, from a full
// deck; a shoe with fewer cards only makes some sets impossible.
DealerDrawTree::SetOrders DealerDrawTree::enumerate(int upValue, int excluded, uint32_t drawsAt)
{
    SetOrders found;
    std::map<std::array<uint8_t, 10>, double> level{{{}, 1.0}};
    for (int cards = 1; !level.empty(); ++cards) {
        std::map<std::array<uint8_t, 10>, double> next;
        for (const auto &[drawn, orders] : level) {
            int hardSum = upValue;
            for (int v = 0; v < 10; ++v)
                hardSum += (v + 1) * drawn[v];
            const int total = bestTotal(hardSum, upValue == 1 || drawn[0] > 0);
            if (cards >= 2 && (total > 21 || !(drawsAt >> total & 1u))) {
                found[drawn] = {total > 21 ? 22 : total, orders};
                continue;
            }
            for (int value = 1; value <= 10; ++value) {
                const int available = value == 10 ? 16 : 4;
                if ((cards == 1 && value == excluded) || drawn[value - 1] >= available)
                    continue;
                std::array<uint8_t, 10> more = drawn;
                ++more[value - 1];
                next[more] += orders;
            }
        }
        level.swap(next);
    }
    return found;
}

void DealerDrawTree::evaluate(const Shoe *const *shoes, DealerDistribution *const *out, int count) const
{
    // Narrow batches run narrow; wide ones go eight at a time.
    for (int start = 0; start < count; start += 8) {
        const int n = std::min(8, count - start);
        if (n == 1)
            evaluateLanes<1>(shoes + start, out + start, n);
        else if (n == 2)
            evaluateLanes<2>(shoes + start, out + start, n);
        else if (n <= 4)
            evaluateLanes<4>(shoes + start, out + start, n);
        else
            evaluateLanes<8>(shoes + start, out + start, n);
    }
}

// Each lane does exactly the arithmetic of a walk of its own, in the same
// order: a lane whose shoe lacks a node's cards carries a zero product
// through that subtree and adds only zeros, and a subtree is skipped when
// every lane lacks its cards.
template <int Lanes>
void DealerDrawTree::evaluateLanes(const Shoe *const *shoes, DealerDistribution *const *out, int count) const
{
    // falling[value x (maxCount + 1) + k]: ways to draw k cards of the value in a given order.
    constexpr int factors = 10 * (maxCount + 1);
    alignas(32) double falling[factors][Lanes];
    std::array<bool, factors> anyLane{};
    for (int lane = 0; lane < Lanes; ++lane) {
        const Shoe &shoe = *shoes[lane < count ? lane : 0]; // spare lanes repeat the first shoe
        for (int v = 0; v < 10; ++v) {
            double ways = 1.0;
            for (int k = 0; k <= maxCount; ++k) {
                if (k > 0)
                    ways *= std::max(0, shoe.counts[v] - (k - 1));
                falling[v * (maxCount + 1) + k][lane] = ways;
                anyLane[v * (maxCount + 1) + k] = anyLane[v * (maxCount + 1) + k] || ways != 0.0;
            }
        }
    }
    alignas(32) double sums[spareBucket + 1][Lanes];
    for (std::size_t b = 0; b < buckets.size(); ++b)
        std::fill_n(sums[b], Lanes, 0.0);
    std::fill_n(sums[spareBucket], Lanes, 0.0);
    alignas(32) double product[maxCards + 1][Lanes];
    std::fill_n(product[0], Lanes, 1.0);

    const Node *const first = nodes.data();
    const Node *const end = first + nodes.size();
    for (const Node *node = first; node < end;) {
        if (!anyLane[node->factor]) {
            node = first + node->subtreeEnd;
            continue;
        }
        const double *factor = falling[node->factor];
        const double *above = product[node->depth];
        double *here = product[node->depth + 1];
        double *sum = sums[node->bucket];
        const double orders = node->orders;
        for (int lane = 0; lane < Lanes; ++lane) {
            here[lane] = above[lane] * factor[lane];
            sum[lane] += orders * here[lane];
        }
        ++node;
    }

    for (int lane = 0; lane < count; ++lane) {
        const Shoe &shoe = *shoes[lane];
        std::array<double, maxCards + 1> perOrder; // 1 / ways to draw m cards in order
        perOrder[0] = 1.0;
        for (int m = 1; m <= maxCards; ++m)
            perOrder[m] = shoe.total - (m - 1) > 0 ? perOrder[m - 1] / (shoe.total - (m - 1)) : 0.0;
        DealerDistribution &distribution = *out[lane];
        distribution = {};
        for (std::size_t b = 0; b < buckets.size(); ++b)
            distribution[buckets[b].outcome] += sums[b][lane] * perOrder[buckets[b].cards];
    }
}
