#include "CasinoChartPlay.h"

CasinoRound::Action CasinoChartPlay::action(const CasinoChart &chart, const CasinoRound &round)
{
    using Action = CasinoRound::Action;
    const CasinoRound::PlayerHand &hand = round.hands()[static_cast<std::size_t>(round.activeHand())];
    const CasinoChart::Allowed allowed{round.allows(Action::Double), round.allows(Action::Split),
                                       round.allows(Action::Surrender)};
    Action action = Action::Stand;
    switch (chart.play(hand.cards, cardValue(round.upCard()), allowed)) {
    case CasinoChart::Play::Hit: action = Action::Hit; break;
    case CasinoChart::Play::Stand: action = Action::Stand; break;
    case CasinoChart::Play::Double: action = Action::Double; break;
    case CasinoChart::Play::Split: action = Action::Split; break;
    case CasinoChart::Play::Surrender: action = Action::Surrender; break;
    }
    // Split aces that may not resplit stand whatever their total reads.
    return round.allows(action) ? action : Action::Stand;
}
