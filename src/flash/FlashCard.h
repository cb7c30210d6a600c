#pragma once
#include "Card.h"
#include "ChartCell.h"
#include "Hand.h"

// One question of the drill: the dealer's up-card and the player's hand,
// and the chart cell they make.
struct FlashCard {
    Card upCard;
    Hand hand;
    ChartCell cell;

    bool isPair() const { return hand.count() == 2 && hand[0].rank == hand[1].rank; }
    // The plays open on this hand: hit and stand always, double on two
    // cards, split on two of one rank.
    bool allows(char action) const
    {
        return action == 'h' || action == 's' || (action == 'd' && hand.count() == 2) || (action == 'p' && isPair());
    }
};
