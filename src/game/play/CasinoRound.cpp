#include "CasinoRound.h"
#include <cmath>

namespace {
// The hand's sum with every ace counted 1.
int hardSum(const Hand &hand)
{
    int sum = 0;
    for (const Card &card : hand.elements())
        sum += cardValue(card);
    return sum;
}

bool holdsAce(const Hand &hand)
{
    for (const Card &card : hand.elements())
        if (card.rank == 1)
            return true;
    return false;
}
} // namespace

CasinoRound::CasinoRound(const GameRules &rules, DealingShoe &shoe)
    : rules(rules), shoe(shoe), shuffled(shoe.beginRound())
{
    playerHands.emplace_back();
    wagered += stake;
    dealer.add(shoe.deal());
    playerHands[0].cards.add(shoe.deal());
    playerHands[0].cards.add(shoe.deal());
    if (!rules.noHoleCard)
        dealer.add(shoe.deal());
    if (dealerPeeks() && upCard().rank == 1) {
        currentPhase = Phase::Insurance;
        return;
    }
    checkForNaturals();
}

void CasinoRound::insure(bool take)
{
    if (currentPhase != Phase::Insurance)
        return;
    insuranceTaken = take;
    if (take)
        wagered += stake / 2;
    currentPhase = Phase::PlayerTurn;
    checkForNaturals();
}

bool CasinoRound::dealerNatural() const
{
    return dealer.count() == 2 && handTotal(dealer) == 21;
}

bool CasinoRound::isNatural(const PlayerHand &hand) const
{
    return playerHands.size() == 1 && hand.cards.count() == 2 && hand.total() == 21;
}

void CasinoRound::checkForNaturals()
{
    if (insuranceTaken) {
        // Half the stake, paid 2:1 when the hole card makes a natural.
        insuranceTenths = dealerNatural() ? stake : -stake / 2;
        paidBack += dealerNatural() ? stake / 2 + stake : 0;
    }
    if (dealerPeeks() && dealerNatural()) {
        holeShown = true;
        settle();
    } else if (isNatural(playerHands[0])) {
        finishActive();
    }
}

bool CasinoRound::allows(Action action) const
{
    if (currentPhase != Phase::PlayerTurn)
        return false;
    const PlayerHand &hand = playerHands[static_cast<std::size_t>(active)];
    const bool twoCards = hand.cards.count() == 2;
    const bool split = playerHands.size() > 1;
    switch (action) {
    case Action::Hit:
        return !hand.splitAces;
    case Action::Stand:
        return true;
    case Action::Double:
        return twoCards && !hand.splitAces && rules.mayDouble(hardSum(hand.cards), holdsAce(hand.cards), split);
    case Action::Split:
        return twoCards && cardValue(hand.cards[0]) == cardValue(hand.cards[1])
            && static_cast<int>(playerHands.size()) < rules.splitHands && (!hand.splitAces || rules.resplitAces);
    case Action::Surrender:
        return rules.lateSurrender && !split && twoCards;
    }
    return false;
}

std::vector<CasinoRound::Action> CasinoRound::allowedActions() const
{
    std::vector<Action> actions;
    for (Action action : {Action::Hit, Action::Stand, Action::Double, Action::Split, Action::Surrender})
        if (allows(action))
            actions.push_back(action);
    return actions;
}

bool CasinoRound::act(Action action)
{
    if (!allows(action))
        return false;
    PlayerHand &hand = playerHands[static_cast<std::size_t>(active)];
    switch (action) {
    case Action::Hit:
        hand.cards.add(shoe.deal());
        if (hand.total() >= 21)
            finishActive();
        break;
    case Action::Stand:
        finishActive();
        break;
    case Action::Double:
        hand.doubled = true;
        wagered += stake;
        hand.cards.add(shoe.deal());
        finishActive();
        break;
    case Action::Surrender:
        hand.surrendered = true;
        finishActive();
        break;
    case Action::Split: {
        PlayerHand second;
        second.cards.add(hand.cards[1]);
        hand.cards.truncate(1);
        hand.splitAces = second.splitAces = hand.cards[0].rank == 1;
        wagered += stake;
        playerHands.insert(playerHands.begin() + active + 1, second);
        dealSecondCard(playerHands[static_cast<std::size_t>(active)]);
        break;
    }
    }
    return true;
}

void CasinoRound::dealSecondCard(PlayerHand &hand)
{
    const Card card = shoe.deal();
    hand.cards.add(card);
    const bool mayResplit =
        card.rank == 1 && rules.resplitAces && static_cast<int>(playerHands.size()) < rules.splitHands;
    if (hand.splitAces ? !mayResplit : hand.total() == 21)
        finishActive();
}

void CasinoRound::finishActive()
{
    playerHands[static_cast<std::size_t>(active)].finished = true;
    if (active + 1 < static_cast<int>(playerHands.size())) {
        ++active;
        dealSecondCard(playerHands[static_cast<std::size_t>(active)]);
        return;
    }
    playDealer();
    settle();
}

bool CasinoRound::dealerDraws() const
{
    const int total = handTotal(dealer);
    const bool soft = total != hardSum(dealer);
    return total < 17 || (rules.dealerHitsSoft17 && total == 17 && soft);
}

void CasinoRound::playDealer()
{
    if (rules.noHoleCard)
        dealer.add(shoe.deal());
    holeShown = true;
    bool handsLeft = false;
    for (const PlayerHand &hand : playerHands)
        handsLeft = handsLeft || (!hand.surrendered && hand.total() <= 21 && !isNatural(hand));
    if (handsLeft && !dealerNatural()) {
        while (dealerDraws())
            dealer.add(shoe.deal());
    }
}

void CasinoRound::settle()
{
    for (std::size_t i = 0; i < playerHands.size(); ++i)
        settleHand(playerHands[i], i == 0);
    currentPhase = Phase::Over;
    shoe.endRound();
}

void CasinoRound::settleHand(PlayerHand &hand, bool first)
{
    int returned = 0; // handed back to the player, the hand's own wager included
    const int total = hand.total();
    const int dealerTotal = handTotal(dealer);
    if (dealerNatural() && !isNatural(hand)) {
        // Whether peeked at or drawn later, a dealer natural takes the
        // original stake only: doubles and split hands are handed back.
        hand.outcome = first ? Outcome::Lost : Outcome::Pushed;
        returned = hand.wager() - (first ? stake : 0);
    } else if (isNatural(hand)) {
        hand.outcome = dealerNatural() ? Outcome::Pushed : Outcome::Natural;
        returned = stake + (dealerNatural() ? 0 : static_cast<int>(std::lround(rules.naturalPayout * stake)));
    } else if (hand.surrendered) {
        hand.outcome = Outcome::Surrendered;
        returned = stake / 2;
    } else if (total > 21) {
        hand.outcome = Outcome::Busted;
    } else if (dealerTotal > 21 || total > dealerTotal) {
        hand.outcome = Outcome::Won;
        returned = 2 * hand.wager();
    } else if (total == dealerTotal) {
        hand.outcome = Outcome::Pushed;
        returned = hand.wager();
    } else {
        hand.outcome = Outcome::Lost;
    }
    hand.result = returned - hand.wager();
    paidBack += returned;
}

Shoe CasinoRound::unseen() const
{
    Shoe shoe = this->shoe.remaining();
    if (!holeShown && dealer.count() == 2)
        shoe.put(cardValue(dealer[1]));
    return shoe;
}
