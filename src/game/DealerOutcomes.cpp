#include "DealerOutcomes.h"

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

const DealerDistribution &DealerOutcomes::distribution(int upValue, const Shoe &shoe, int playerTotal)
{
    const int representative = playerClass[playerTotal];
    const uint64_t key = shoe.countsKey() | uint64_t(upValue) << 32 | uint64_t(representative) << 36;
    if (const uint32_t *found = memo.find(key))
        return distributions[*found];
    memo.insert(key, static_cast<uint32_t>(distributions.size()));
    distributions.push_back(drawTree(upValue, representative).evaluate(shoe));
    return distributions.back();
}
