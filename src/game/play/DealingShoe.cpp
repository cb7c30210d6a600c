#include "DealingShoe.h"
#include <cmath>

DealingShoe::DealingShoe(int decks, ShoeSource &source)
    : source(source), deckCount(decks),
      cutAt(static_cast<int>(std::lround(decks * 52 * (decks <= 2 ? 0.65 : 0.75))))
{
    std::vector<Card> cards;
    cards.reserve(static_cast<std::size_t>(size()));
    for (int deck = 0; deck < decks; ++deck)
        for (int index = 0; index < 52; ++index)
            cards.push_back(Card::fromIndex(index));
    shuffle(std::move(cards));
}

void DealingShoe::shuffle(std::vector<Card> &&cards)
{
    stock = std::move(cards);
    source.order(stock);
    dealtSinceShuffle = 0;
    ++shuffleCount;
}

bool DealingShoe::beginRound()
{
    // The discards shuffled in during a round leave the shoe short: start afresh.
    const bool due = cutCardOut() || reshuffledInRound;
    reshuffledInRound = false;
    if (!due)
        return false;
    std::vector<Card> all = std::move(discards);
    discards.clear();
    all.insert(all.end(), stock.begin(), stock.end());
    shuffle(std::move(all));
    return true;
}

Card DealingShoe::deal()
{
    if (stock.empty()) {
        shuffle(std::move(discards));
        discards.clear();
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
