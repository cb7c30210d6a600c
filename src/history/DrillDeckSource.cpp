#include "DrillDeckSource.h"
#include "DrillHand.h"
#include <algorithm>
#include <vector>

void DrillDeckSource::build(std::array<Card, 52> &deck)
{
    buildCell(plan.next(random), deck);
}

void DrillDeckSource::buildCell(const ChartCell &cell, std::array<Card, 52> &deck)
{
    const DrillHand drawn = DrillHand::pick(cell, ChartRows::program(), random);
    std::vector<int> rest(52);
    for (int i = 0; i < 52; ++i)
        rest[i] = i;
    // Any suit of the rank; a pair takes two different ones.
    auto take = [&](int rank) {
        std::vector<int> free;
        for (int suit = 0; suit < 4; ++suit)
            if (std::find(rest.begin(), rest.end(), (rank - 1) * 4 + suit) != rest.end())
                free.push_back((rank - 1) * 4 + suit);
        const int index = free[DrillPlan::pick(random, static_cast<int>(free.size()))];
        rest.erase(std::find(rest.begin(), rest.end(), index));
        return Card::fromIndex(index);
    };
    // deck[51] is dealt first: the up-card, then the player's two cards.
    deck[51] = take(drawn.upRank);
    deck[50] = take(drawn.first);
    deck[49] = take(drawn.second);
    for (int i = static_cast<int>(rest.size()) - 1; i > 0; --i)
        std::swap(rest[i], rest[DrillPlan::pick(random, i + 1)]);
    for (int i = 0; i < 49; ++i)
        deck[i] = Card::fromIndex(rest[i]);
    dealt = cell;
}
