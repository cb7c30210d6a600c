#pragma once
#include "Card.h"
#include <array>

// Fills the 52-card deck in dealing order (the last element is dealt first).
// The game uses the shuffled source; tests stack the deck.
class DeckSource {
public:
    virtual ~DeckSource() = default;
    virtual void build(std::array<Card, 52> &deck) = 0;
};
