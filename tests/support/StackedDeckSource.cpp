#include "StackedDeckSource.h"
#include <algorithm>

void StackedDeckSource::stack(std::initializer_list<Named> firstDealt)
{
    order.clear();
    for (const Named &card : firstDealt)
        order.push_back((card.rank - 1) * 4 + card.suit);
}

void StackedDeckSource::stackRanks(const QList<int> &ranks)
{
    order.clear();
    for (int rank : ranks) {
        // Next unused suit of that rank.
        for (int suit = 0; suit < 4; ++suit) {
            const int index = (rank - 1) * 4 + suit;
            if (std::find(order.begin(), order.end(), index) == order.end()) {
                order.push_back(index);
                break;
            }
        }
    }
}

void StackedDeckSource::stackDeck(const std::array<Card, 52> &deck)
{
    order.clear();
    for (int i = 51; i >= 0; --i)
        order.push_back(deck[i].cardIndex);
}

void StackedDeckSource::build(std::array<Card, 52> &deck)
{
    std::vector<int> dealing = order;
    for (int i = 0; i < 52; ++i) {
        if (std::find(dealing.begin(), dealing.end(), i) == dealing.end())
            dealing.push_back(i);
    }
    // deck[51] is dealt first.
    for (int i = 0; i < 52; ++i)
        deck[51 - i] = Card::fromIndex(dealing[i]);
}
