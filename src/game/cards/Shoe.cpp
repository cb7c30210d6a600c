#include "Shoe.h"

Shoe Shoe::fullDeck()
{
    return fullShoe(1);
}

Shoe Shoe::fullShoe(int decks)
{
    Shoe shoe;
    for (int value = 1; value <= 10; ++value)
        shoe.counts[value - 1] = static_cast<uint8_t>((value == 10 ? 16 : 4) * decks);
    shoe.total = 52 * decks;
    return shoe;
}

int Shoe::take(int position)
{
    int value = 1;
    while (position >= count(value))
        position -= count(value++);
    remove(value);
    return value;
}

void Shoe::markRank(int value, int remaining)
{
    markedValue = value;
    marked = remaining;
}
