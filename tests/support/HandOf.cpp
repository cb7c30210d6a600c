#include "HandOf.h"

Hand handOf(const QList<int> &ranks)
{
    Hand hand;
    for (int i = 0; i < ranks.size(); ++i)
        hand.add(Card::fromIndex((ranks[i] - 1) * 4 + i % 4));
    return hand;
}
