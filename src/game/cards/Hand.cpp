#include "Hand.h"

void Hand::add(const Card &card)
{
    items.back() = card;
    items.emplace_back();
}

void Hand::truncate(int n)
{
    if (n < count()) {
        items.resize(static_cast<std::size_t>(n));
        items.emplace_back();
    }
}

int16_t handTotal(const std::vector<Card> &cards)
{
    int total = 0;
    int aces = 0;
    for (const Card &card : cards) {
        if (card.rank > 1)
            total += cardValue(card);
        else if (card.rank == 1)
            ++aces;
    }
    total += aces;
    for (int i = 0; i < aces; ++i) {
        if (total + 10 < 22)
            total += 10;
    }
    return static_cast<int16_t>(total);
}

int16_t handTotal(const Hand &hand)
{
    return handTotal(hand.elements());
}
