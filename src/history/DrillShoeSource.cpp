#include "DrillShoeSource.h"
#include "ChartRows.h"
#include "DrillHand.h"
#include <utility>

void DrillShoeSource::order(std::vector<Card> &cards)
{
    const ChartCell cell = plan.next(random);
    const DrillHand drawn = DrillHand::pick(cell, ChartRows::casino(), random);
    // Any one of the shoe's cards of the rank, taken out of it.
    auto take = [&](int rank) {
        std::vector<std::size_t> ofRank;
        for (std::size_t i = 0; i < cards.size(); ++i)
            if (cards[i].rank == rank)
                ofRank.push_back(i);
        const std::size_t at = ofRank[static_cast<std::size_t>(DrillPlan::pick(random, static_cast<int>(ofRank.size())))];
        const Card card = cards[at];
        std::swap(cards[at], cards.back());
        cards.pop_back();
        return card;
    };
    const Card up = take(drawn.upRank);
    const Card first = take(drawn.first);
    const Card second = take(drawn.second);
    shuffle.order(cards);
    // The last card is dealt first: the up-card, then the player's two cards.
    cards.push_back(second);
    cards.push_back(first);
    cards.push_back(up);
    dealt = cell;
}
