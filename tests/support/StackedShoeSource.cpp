#include "StackedShoeSource.h"
#include <QtGlobal>
#include <algorithm>

void StackedShoeSource::order(std::vector<Card> &cards)
{
    std::vector<Card> top;
    for (int rank : stacked) {
        const auto card = std::find_if(cards.begin(), cards.end(), [rank](const Card &c) { return c.rank == rank; });
        if (card == cards.end())
            qFatal("no card of rank %d left to stack", rank);
        top.push_back(*card);
        cards.erase(card);
    }
    // The last card is dealt first.
    cards.insert(cards.end(), top.rbegin(), top.rend());
    stacked.clear();
}
