#pragma once
#include "Card.h"
#include "Shoe.h"
#include "ShoeSource.h"
#include <vector>

// The casino table's shoe of real cards: `decks` full decks, dealt down to a
// cut card placed at 75 % of the shoe (65 % for one or two decks, where a
// deeper cut would run short within a round). Cards dealt in a round go to
// the discards when it ends; the whole shoe is shuffled before the first
// round after the cut card came out. Should a long round empty the shoe, the
// discards are shuffled and dealt on, the cards on the table left out.
class DealingShoe {
public:
    DealingShoe(int decks, ShoeSource &source);

    int decks() const { return deckCount; }
    int size() const { return deckCount * 52; }
    // Cards dealt from a full shoe when the cut card comes out.
    int cutCardAt() const { return cutAt; }

    // Every card back in the shoe, shuffled, as for a new shoe.
    void shuffleAll();
    // Starts a round: shuffles the whole shoe when the cut card has come out
    // and returns whether it did, so the table can say it is shuffling.
    bool beginRound();
    Card deal();
    // The round's cards go to the discards.
    void endRound();

    bool cutCardOut() const { return dealtSinceShuffle >= cutAt; }
    // Whether the discards had to be shuffled back in during this round.
    bool reshuffledThisRound() const { return reshuffledInRound; }
    // Shuffles so far, the first one included: cards are unique between two of them.
    int shuffles() const { return shuffleCount; }
    int cardsLeft() const { return static_cast<int>(stock.size()); }
    // The cards still in the shoe, by point value.
    Shoe remaining() const;

private:
    void shuffleStock();

    ShoeSource &source;
    int deckCount;
    int cutAt;
    std::vector<Card> stock; // the last card is dealt first
    std::vector<Card> inPlay;
    std::vector<Card> discards;
    int dealtSinceShuffle = 0;
    int shuffleCount = 0;
    bool reshuffledInRound = false;
};
