#include "Deck.h"

void Deck::dropTop()
{
    if (!stock.empty())
        stock.pop_back();
}

void Deck::dealTo(Hand &hand)
{
    hand.add(top());
    dropTop();
}
