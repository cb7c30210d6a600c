#include "Shoe.h"

Shoe Shoe::fullDeck()
{
    Shoe shoe;
    for (int value = 1; value <= 9; ++value)
        shoe.counts[value - 1] = 4;
    shoe.counts[9] = 16;
    shoe.total = 52;
    return shoe;
}

void Shoe::markRank(int value, int remaining)
{
    markedValue = value;
    marked = remaining;
}
