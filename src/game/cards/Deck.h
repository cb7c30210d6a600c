#pragma once
#include "Card.h"
#include "Hand.h"
#include <array>
#include <vector>

// The round's deck and the stock dealt from it; the top of the stock is its
// highest index, so the first card dealt after a fill is deck[51].
class Deck {
public:
    std::array<Card, 52> deck{};
    std::vector<Card> stock;

    void fillStock() { stock.assign(deck.begin(), deck.end()); }
    int stockCount() const { return static_cast<int>(stock.size()); }
    // The top card; an empty slot once the stock is exhausted.
    Card top() const { return stock.empty() ? Card{} : stock.back(); }
    void dropTop();
    void dealTo(Hand &hand);
};
