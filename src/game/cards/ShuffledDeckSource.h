#pragma once
#include "DeckSource.h"
#include "RandomSource.h"

// Every position is exchanged with one drawn from the whole deck, the
// generator reseeded before each of the 52 draws.
class ShuffledDeckSource : public DeckSource {
public:
    explicit ShuffledDeckSource(RandomSource &random) : random(random) {}
    void build(std::array<Card, 52> &deck) override;

private:
    RandomSource &random;
};
