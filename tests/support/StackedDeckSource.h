#pragma once
#include "DeckSource.h"
#include <QList>
#include <initializer_list>
#include <vector>

// Deals the given cards first, in the given order, then the rest of the deck
// in index order. Cards are named by rank and suit, e.g. {8, 0}.
class StackedDeckSource : public DeckSource {
public:
    struct Named { int rank; int suit; };
    void stack(std::initializer_list<Named> firstDealt);
    void stackRanks(const QList<int> &ranks);
    // The whole deck in dealing order (deck[51] is dealt first).
    void stackDeck(const std::array<Card, 52> &deck);
    void build(std::array<Card, 52> &deck) override;

private:
    std::vector<int> order; // card indexes, first dealt first
};
