#pragma once
#include "Card.h"
#include <vector>

// Puts the cards of a shoe in dealing order (the last element is dealt
// first), at a full shuffle and when the discards are shuffled back in. The
// table shuffles; tests stack the shoe.
class ShoeSource {
public:
    virtual ~ShoeSource() = default;
    virtual void order(std::vector<Card> &cards) = 0;
};
