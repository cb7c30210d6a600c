#include "DealerOutcomes.h"
#include <algorithm>

DealerOutcomes::DealerOutcomes(const GameRules &rules) : rules(rules)
{
    for (int player = 0; player <= 21; ++player) {
        for (int dealer = 2; dealer <= 21; ++dealer) {
            if (rules.dealerDraws(dealer, player))
                drawSignature[player] |= 1u << dealer;
        }
        playerClass[player] = player;
        for (int earlier = 0; earlier < player; ++earlier) {
            if (drawSignature[earlier] == drawSignature[player]) {
                playerClass[player] = earlier;
                break;
            }
        }
    }
    // The trees are shared by the whole process: building them all with the
    // first engine, not during its first questions, keeps every answer quick.
    for (int up = 1; up <= 10; ++up) {
        for (int player = 0; player <= 21; ++player) {
            if (playerClass[player] == player)
                drawTree(up, player);
        }
    }
}

double DealerOutcomes::noBlackjack(int upValue, const Shoe &shoe) const
{
    const int partner = upValue == 1 ? 10 : upValue == 10 ? 1 : 0;
    if (!rules.dealerPeeks || partner == 0)
        return 1.0;
    return 1.0 - double(shoe.count(partner)) / shoe.total;
}

const DealerDrawTree &DealerOutcomes::drawTree(int upValue, int playerClass)
{
    const DealerDrawTree *&tree = trees[upValue][playerClass];
    if (!tree)
        tree = &DealerDrawTree::shared(upValue, drawSignature[playerClass], rules.dealerPeeks);
    return *tree;
}

DealerDistribution DealerOutcomes::distribution(int upValue, const Shoe &shoe, int playerTotal)
{
    const DealerFinals &known = finals(upValue, shoe, playerTotal);
    DealerDistribution out{};
    for (int total = lowestFinal; total <= 21; ++total)
        out[total] = known[total - lowestFinal];
    out[22] = known[bustFinal];
    return out;
}

const DealerFinals &DealerOutcomes::finals(int upValue, const Shoe &shoe, int playerTotal)
{
    const uint64_t key = keyOf(upValue, shoe, playerTotal);
    if (const int *found = knownIndex.find(key))
        return known[*found];
    DealerFinals *out = &known[knownAt(key)];
    const Shoe *shoes[] = {&shoe};
    drawTree(upValue, playerClass[playerTotal]).evaluate(shoes, &out, 1);
    return *out;
}

int DealerOutcomes::knownAt(uint64_t key)
{
    known.emplace_back();
    return knownIndex.insert(key, int(known.size()) - 1);
}

void DealerOutcomes::prepare(int upValue, const Shoe *const *shoes, const int *playerTotals, int count, int *places)
{
    constexpr int batch = 32;
    for (int start = 0; start < count; start += batch) {
        const int n = std::min(batch, count - start);
        // Unknown shoes by class; a shoe met twice in the batch is worked out once.
        std::array<const Shoe *, batch> pending;
        std::array<int, batch> pendingPlaces;
        std::array<bool, 22> classSeen{};
        std::array<int, batch> classOf;
        int unknown = 0;
        std::array<uint64_t, batch> keys;
        for (int i = 0; i < n; ++i) {
            keys[i] = keyOf(upValue, *shoes[start + i], playerTotals[start + i]);
            knownIndex.prefetch(keys[i]);
        }
        for (int i = start; i < start + n; ++i) {
            const uint64_t key = keys[i - start];
            if (const int *found = knownIndex.find(key)) {
                places[i] = *found;
                continue;
            }
            places[i] = knownAt(key);
            pending[unknown] = shoes[i];
            pendingPlaces[unknown] = places[i];
            classOf[unknown] = playerClass[playerTotals[i]];
            classSeen[classOf[unknown]] = true;
            ++unknown;
        }
        // Outcomes move while their table grows: point at them once all are in.
        for (int cls = 0; cls < 22; ++cls) {
            if (!classSeen[cls])
                continue;
            std::array<const Shoe *, batch> classShoes;
            std::array<DealerFinals *, batch> classOut;
            int m = 0;
            for (int i = 0; i < unknown; ++i) {
                if (classOf[i] == cls) {
                    classShoes[m] = pending[i];
                    classOut[m++] = &known[pendingPlaces[i]];
                }
            }
            drawTree(upValue, cls).evaluate(classShoes.data(), classOut.data(), m);
        }
    }
}
