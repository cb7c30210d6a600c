#include "Card.h"

Card Card::fromIndex(int index)
{
    Card card;
    card.cardIndex = static_cast<int16_t>(index);
    card.rank = static_cast<int16_t>(index / 4 + 1);
    card.suit = static_cast<int16_t>(index % 4);
    return card;
}

int16_t cardValue(const Card &card)
{
    return card.rank > 10 ? int16_t(10) : card.rank;
}
