#include "DealingShoe.h"
#include <cmath>

DealingShoe::DealingShoe(int decks, ShoeSource &source)
    : source(source), deckCount(decks),
      cutAt(static_cast<int>(std::lround(decks * 52 * (decks <= 2 ? 0.65 : 0.75))))
{
    stock.reserve(static_cast<std::size_t>(size()));
    for (int deck = 0; deck < decks; ++deck)
        for (int index = 0; index < 52; ++index)
            stock.push_back(Card::fromIndex(index));
    shuffleStock();
}

void DealingShoe::shuffleStock()
{
    source.order(stock);
    dealtSinceShuffle = 0;
    ++shuffleCount;
}

void DealingShoe::shuffleAll()
{
    stock.insert(stock.end(), discards.begin(), discards.end());
    stock.insert(stock.end(), inPlay.begin(), inPlay.end());
    discards.clear();
    inPlay.clear();
    shuffleStock();
}

bool DealingShoe::beginRound()
{
    // The discards shuffled in during a round leave the shoe short: start afresh.
    const bool due = cutCardOut() || reshuffledInRound;
    reshuffledInRound = false;
    if (due)
        shuffleAll();
    return due;
}

Card DealingShoe::deal()
{
    if (stock.empty()) {
        stock.swap(discards);
        shuffleStock();
        reshuffledInRound = true;
    }
    const Card card = stock.back();
    stock.pop_back();
    inPlay.push_back(card);
    ++dealtSinceShuffle;
    return card;
}

void DealingShoe::endRound()
{
    discards.insert(discards.end(), inPlay.begin(), inPlay.end());
    inPlay.clear();
}

Shoe DealingShoe::remaining() const
{
    Shoe shoe;
    for (const Card &card : stock)
        shoe.put(cardValue(card));
    return shoe;
}
