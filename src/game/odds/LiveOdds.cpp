#include "LiveOdds.h"
#include "SplitOdds.h"

ActionOdds LiveOdds::compute(const Situation &situation)
{
    // Memory stays bounded over a long session.
    if (engine.cachedCount() > 2'000'000)
        engine = StrategyEngine();

    Shoe shoe = Shoe::fullDeck();
    std::array<int, 14> ranksLeft;
    ranksLeft.fill(4);
    auto takeOut = [&](const Card &card) {
        if (card.isEmpty())
            return;
        shoe.remove(cardValue(card));
        --ranksLeft[card.rank];
    };
    PlayerHand hand;
    for (int i = 0; i < situation.playerHand.count(); ++i) {
        const Card &card = situation.playerHand[i];
        takeOut(card);
        hand = hand.plus(cardValue(card));
    }
    takeOut(situation.upCard);
    for (const Card &card : situation.cardsOut)
        takeOut(card);

    const bool setAside = situation.firstSplitHand && situation.playerHand.count() > 0;
    if (setAside) {
        const Card &pairCard = situation.playerHand[0];
        shoe.markRank(cardValue(pairCard), ranksLeft[pairCard.rank]);
    }
    const int up = cardValue(situation.upCard);
    const double stake = situation.stake;
    ActionOdds odds;
    if (hand.total() > 21) {
        odds.stand = odds.hit = -stake;
        return odds;
    }
    odds.stand = stake * engine.stand(hand, up, shoe);
    odds.hit = stake * engine.hit(hand, up, shoe, setAside);
    if (hand.cards == 2)
        odds.doubleDown = stake * engine.doubleDown(hand, up, shoe, setAside);
    // A pair may be split only before anything else has left the stock.
    const Hand &cards = situation.playerHand;
    if (hand.cards == 2 && cards[0].rank == cards[1].rank && !situation.firstSplitHand && situation.cardsOut.empty())
        odds.split = stake * SplitOdds::value(cardValue(cards[0]), up, ranksLeft[cards[0].rank]);
    return odds;
}
