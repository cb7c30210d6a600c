#pragma once
#include "DealingShoe.h"
#include "GameRules.h"
#include "Hand.h"
#include <vector>

// One round at a casino table, without widgets: the deal, insurance, the
// player's hands in turn, the dealer's play and the settlement, under the
// table's rules. Constructing it deals; each call moves it on, so the window
// only shows what it holds.
//
// Cards come out in this order: the dealer's up-card, the player's two cards,
// then the hole card (without a hole card, the dealer's second card is drawn
// once the player is done). A split hand's second card is dealt when that
// hand's turn comes, the first hand's at once.
//
// A hand stands by itself at 21; any two cards of one point value split
// (a king and a queen too); a 21 on split cards is no natural. A dealer
// natural, peeked at or drawn after the player's play, takes the original
// stake only: doubles and the split hands' stakes go back, and a surrender
// then loses the whole stake, as the engine values it.
//
// Amounts are in tenths of the stake, so 3:2 and 6:5 stay whole: a natural
// at 3:2 wins 15, a surrender loses 5, insurance costs 5 and wins 10.
class CasinoRound {
public:
    enum class Phase { Insurance, PlayerTurn, Over };
    enum class Action { Hit, Stand, Double, Split, Surrender };
    enum class Outcome { Open, Won, Natural, Pushed, Lost, Busted, Surrendered };

    static constexpr int stake = 10;

    struct PlayerHand {
        Hand cards;
        bool doubled = false;
        bool splitAces = false; // takes one card, unless it is an ace to resplit
        bool surrendered = false;
        bool finished = false;
        Outcome outcome = Outcome::Open;
        int result = 0; // tenths of a stake, once settled

        int wager() const { return doubled ? 2 * stake : stake; }
        int total() const { return handTotal(cards); }
    };

    CasinoRound(const GameRules &rules, DealingShoe &shoe);

    Phase phase() const { return currentPhase; }
    // The whole shoe was shuffled before this round's deal.
    bool shuffledBeforeDeal() const { return shuffled; }

    void insure(bool take);
    bool insured() const { return insuranceTaken; }

    const std::vector<PlayerHand> &hands() const { return playerHands; }
    int activeHand() const { return active; }
    bool allows(Action action) const;
    std::vector<Action> allowedActions() const;
    // Plays the action on the active hand; false (and nothing happens) when
    // it is not allowed.
    bool act(Action action);

    const Hand &dealerCards() const { return dealer; }
    Card upCard() const { return dealer[0]; }
    bool holeCardShown() const { return holeShown; }
    bool dealerNatural() const;

    // Tenths of a stake: the insurance bet's result, and the whole round's.
    int insuranceResult() const { return insuranceTenths; }
    int bankChange() const { return paidBack - wagered; }

    // The cards the player has not seen, for the live odds: the shoe's, and
    // the hole card while it is face down.
    Shoe unseen() const;

private:
    bool dealerPeeks() const { return rules.dealerPeeks && !rules.noHoleCard; }
    bool isNatural(const PlayerHand &hand) const;
    bool dealerDraws() const;
    void checkForNaturals();
    void dealSecondCard(PlayerHand &hand);
    void finishActive();
    void startNextHand();
    void playDealer();
    void settle();
    void settleHand(PlayerHand &hand, bool first);

    const GameRules rules;
    DealingShoe &shoe;
    bool shuffled;
    Phase currentPhase = Phase::PlayerTurn;
    std::vector<PlayerHand> playerHands;
    int active = 0;
    Hand dealer;
    bool holeShown = false;
    bool insuranceTaken = false;
    int insuranceTenths = 0;
    // The money's two sides, kept apart from the hands' results so that each
    // checks the other: every stake put out, and everything handed back.
    int wagered = 0;
    int paidBack = 0;
};
