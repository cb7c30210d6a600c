// What the record of decisions needs from the table: the situation of the
// hand being played, as the exact odds read it, and each decision.
#include "MainWindow.h"

LiveOdds::Situation MainWindow::oddsSituation() const
{
    // Every card that left the stock, but the hand and the up-card, is out.
    LiveOdds::Situation situation;
    situation.playerHand = playerHand;
    situation.upCard = dealerHand[0];
    std::array<bool, 52> elsewhere{};
    for (const Card &card : deck.stock)
        elsewhere[card.cardIndex] = true;
    for (int i = 0; i < playerHand.count(); ++i)
        elsewhere[playerHand[i].cardIndex] = true;
    elsewhere[dealerHand[0].cardIndex] = true;
    for (int index = 0; index < 52; ++index) {
        if (!elsewhere[index])
            situation.cardsOut.push_back(Card::fromIndex(index));
    }
    situation.stake = wager;
    situation.firstSplitHand = splitting;
    return situation;
}

void MainWindow::noteDecision(const QString &action)
{
    // Without advice (a chart cell left empty or holding an unknown code)
    // there is nothing to hold the choice against: it is not recorded.
    if (roundOver || playerHand.count() < 2 || !StrategyChart::isActionCode(theBestPlay))
        return;
    DecisionValues::Decision decision;
    decision.situation = oddsSituation();
    decision.odds = liveOdds.compute(decision.situation);
    decision.action = action.isEmpty() ? 0 : action.at(0).toLatin1();
    decision.advice = theBestPlay.isEmpty() ? 0 : theBestPlay.at(0).toLatin1();
    decision.adviceAlways = prefs.prfAlwaysShowBestPlay;
    decision.canDouble = canDouble;
    decision.canSplit = canSplit;
    training.decide(decision);
}
