#include "ShuffledDeckSource.h"
#include <algorithm>
#include <cmath>
#include <utility>

void ShuffledDeckSource::build(std::array<Card, 52> &deck)
{
    for (int i = 0; i < 52; ++i)
        deck[i].cardIndex = static_cast<int16_t>(i);
    for (int i = 0; i < 52; ++i) {
        const int r = std::clamp(static_cast<int>(std::floor(random.next() * 52.0f)), 0, 51);
        std::swap(deck[i].cardIndex, deck[r].cardIndex);
    }
    for (Card &card : deck)
        card = Card::fromIndex(card.cardIndex);
}
