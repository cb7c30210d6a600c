#include "CasinoHands.h"
#include <cmath>

CasinoHands::CasinoHands(const CasinoDealer &dealer, const Shoe &shoe, int upValue, CasinoDealer::Memo &memo)
    : dealer(dealer), memo(memo), base(shoe), up(upValue)
{
    hands.reserve(4096);
    index.reserve(8192);
}

uint64_t CasinoHands::keyOf(const Cards &cards)
{
    // A hand of at most 21 points holds at most 21 cards of one value: five bits each.
    uint64_t key = 0;
    for (uint8_t count : cards)
        key = key << 5 | count;
    return key;
}

double CasinoHands::noNaturalAfter(const Cards &cards, int count) const
{
    if (up != 1 && up != 10)
        return 1.0;
    const int completing = up == 1 ? 9 : 0;
    return 1.0 - double(base.counts[completing] - cards[completing]) / (base.total - count);
}

int CasinoHands::make(const Cards &cards)
{
    const auto found = index.find(keyOf(cards));
    if (found != index.end())
        return found->second;
    Hand hand;
    hand.cards = cards;
    for (int i = 0; i < 10; ++i) {
        hand.hardSum += cards[i] * (i + 1);
        hand.count += cards[i];
    }
    hand.hasAce = cards[0] > 0;
    hand.noNatural = noNaturalAfter(cards, hand.count);
    hands.push_back(hand);
    stands.push_back(NAN);
    index.emplace(keyOf(cards), static_cast<int>(hands.size()) - 1);
    return static_cast<int>(hands.size()) - 1;
}

double CasinoHands::stand(int index) const
{
    if (!std::isnan(stands[index]))
        return stands[index];
    const Hand &hand = hands[index];
    Shoe left = base;
    for (int i = 0; i < 10; ++i) {
        left.counts[i] = static_cast<uint8_t>(left.counts[i] - hand.cards[i]);
        left.total -= hand.cards[i];
    }
    auto [known, fresh] = memo.try_emplace(left.shoeKey());
    if (fresh)
        known->second = dealer.finals(left, up);
    const CasinoDealer::Finals &finals = known->second;
    const int total = hand.total();
    double value = finals[CasinoDealer::bust];
    for (int dealerTotal = 17; dealerTotal <= 21; ++dealerTotal)
        value += dealerTotal < total ? finals[dealerTotal - 17] : dealerTotal > total ? -finals[dealerTotal - 17] : 0.0;
    stands[index] = value;
    return value;
}

int CasinoHands::add(const Cards &cards, bool drawing)
{
    const int at = make(cards);
    if (!drawing || hands[at].open || hands[at].total() >= 21)
        return at;
    hands[at].open = true;
    const Hand hand = hands[at];
    std::array<int, 10> next;
    std::array<double, 10> chance;
    std::array<double, 10> bustValue{};
    for (int value = 1; value <= 10; ++value) {
        chance[value - 1] = drawChance(hand.cards, hand.count, value);
        Cards more = hand.cards;
        ++more[value - 1];
        if (chance[value - 1] <= 0.0) {
            next[value - 1] = busted;
            continue;
        }
        const int hardSum = hand.hardSum + value;
        if (hardSum > 21) {
            next[value - 1] = busted;
            bustValue[value - 1] = -noNaturalAfter(more, hand.count + 1);
        } else {
            next[value - 1] = add(more);
        }
    }
    hands[at].next = next;
    hands[at].chance = chance;
    hands[at].bustValue = bustValue;
    return at;
}
