#include "SplitHandCounts.h"

namespace {
struct Splitting {
    int pairCards;
    int shoeTotal;
    int mostHands;
    SplitHandCounts counts;

    void deal(int hands, int waiting, int pairsDrawn, int othersDrawn, double chance)
    {
        if (waiting == 0)
            return;
        const int left = shoeTotal - pairsDrawn - othersDrawn;
        const double pair = left > 0 ? double(pairCards - pairsDrawn) / left : 0.0;
        if (pair < 1.0) {
            counts.otherCard += chance * (1.0 - pair);
            deal(hands, waiting - 1, pairsDrawn, othersDrawn + 1, chance * (1.0 - pair));
        }
        if (pair <= 0.0)
            return;
        if (hands < mostHands) {
            deal(hands + 1, waiting + 1, pairsDrawn + 1, othersDrawn, chance * pair);
        } else {
            counts.pairAgain += chance * pair;
            deal(hands, waiting - 1, pairsDrawn + 1, othersDrawn, chance * pair);
        }
    }
};
}

SplitHandCounts SplitHandCounts::of(int pairCards, int shoeTotal, int mostHands)
{
    Splitting splitting{pairCards, shoeTotal, mostHands, {}};
    splitting.deal(2, 2, 0, 0, 1.0);
    return splitting.counts;
}
