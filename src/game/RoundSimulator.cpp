#include "RoundSimulator.h"
#include "DealerRule.h"
#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace {
uint64_t splitMix(uint64_t &x)
{
    uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint64_t rotateLeft(uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
}

struct Sums {
    long long n = 0;
    long long sum = 0;
    long long squares = 0;
    void add(int x)
    {
        ++n;
        sum += x;
        squares += static_cast<long long>(x) * x;
    }
    RoundSimulator::Statistics statistics() const
    {
        const double mean = double(sum) / n;
        const double variance = (double(squares) - double(sum) * mean) / (n - 1);
        return {n, mean, std::sqrt(variance / n)};
    }
};
}

void RoundSimulator::Stock::reset(uint64_t seed, const FirstCards *firstCards)
{
    forced = firstCards;
    // The same starting order every round, so a seed alone fixes the deck.
    std::iota(order.begin(), order.end(), uint8_t(0));
    for (uint64_t &word : state)
        word = splitMix(seed);
    dealt = 0;
    topShown = false;
}

uint64_t RoundSimulator::Stock::nextRandom()
{
    // xoshiro256**
    const uint64_t result = rotateLeft(state[1] * 5, 7) * 9;
    const uint64_t t = state[1] << 17;
    state[2] ^= state[0];
    state[3] ^= state[1];
    state[1] ^= state[2];
    state[0] ^= state[3];
    state[2] ^= t;
    state[3] = rotateLeft(state[3], 45);
    return result;
}

const Card &RoundSimulator::Stock::top()
{
    if (!topShown) {
        const uint64_t left = 52 - dealt;
        int pick = dealt + static_cast<int>(((nextRandom() >> 32) * left) >> 32);
        if (forced && dealt < 3)
            pick = static_cast<int>(std::find(order.begin() + dealt, order.end(), (*forced)[dealt]) - order.begin());
        std::swap(order[dealt], order[pick]);
        shown = Card::fromIndex(order[dealt]);
        topShown = true;
    }
    return shown;
}

Card RoundSimulator::Stock::take()
{
    const Card card = top();
    ++dealt;
    topShown = false;
    return card;
}

int RoundSimulator::playRound(uint64_t seed, uint64_t round, const FirstCards *firstCards)
{
    split.happened = false;
    stock.reset(seed ^ (round * 0xD1B54A32D192ED03ull), firstCards);
    const Card up = stock.take();
    playerHand.reset();
    playerHand.add(stock.take());
    playerHand.add(stock.take());
    const int pairRank = playerHand[0].rank;
    if (handTotal(playerHand) == 21 || chart.advice(playerHand, cardValue(up)) != 'p' || playerHand[1].rank != pairRank)
        return playHand(playerHand, up, 0);

    // Split: the first hand gets its second card (setting cards aside) and is
    // settled; then the waiting card meets a new dealer hand.
    splitHand.reset();
    splitHand.add(playerHand[1]);
    playerHand.truncate(1);
    hit(playerHand, pairRank);
    split.happened = true;
    split.first = playHand(playerHand, up, pairRank);
    const Card secondUp = stock.take();
    setAside(pairRank);
    splitHand.add(stock.take());
    split.second = playHand(splitHand, secondUp, 0);
    return split.first + split.second;
}

int RoundSimulator::playHand(Hand &hand, const Card &up, int pairRank)
{
    for (;;) {
        const int total = handTotal(hand);
        if (total > 21)
            return -1;
        if (total == 21)
            return settle(hand, up, 1);
        switch (chart.advice(hand, cardValue(up))) {
        case 'd':
            if (hand.count() == 2) {
                hit(hand, pairRank);
                return handTotal(hand) > 21 ? -2 : settle(hand, up, 2);
            }
            hit(hand, pairRank);
            break;
        case 'h':
        case 'p': // no split here: the player draws
            hit(hand, pairRank);
            break;
        default:
            return settle(hand, up, 1);
        }
    }
}

void RoundSimulator::hit(Hand &hand, int pairRank)
{
    if (pairRank > 0)
        setAside(pairRank);
    hand.add(stock.take());
}

void RoundSimulator::setAside(int pairRank)
{
    for (int i = 0; i < 2 && stock.top().rank == pairRank; ++i)
        stock.dropTop();
}

int RoundSimulator::settle(const Hand &hand, const Card &up, int stake)
{
    const int playerTotal = handTotal(hand);
    dealerHand.reset();
    dealerHand.add(up);
    dealerHand.add(stock.take());
    int dealerTotal = handTotal(dealerHand);
    while (dealerDraws(dealerTotal, playerTotal)) {
        dealerHand.add(stock.take());
        dealerTotal = handTotal(dealerHand);
    }
    if (dealerTotal > 21 || playerTotal > dealerTotal)
        return stake;
    return playerTotal < dealerTotal ? -stake : 0;
}


RoundSimulator::Statistics RoundSimulator::run(const ChartTable &chart, long long rounds, uint64_t seed)
{
    RoundSimulator simulator(chart);
    Sums sums;
    for (long long round = 0; round < rounds; ++round)
        sums.add(simulator.playRound(seed, static_cast<uint64_t>(round)));
    return sums.statistics();
}

RoundSimulator::Comparison RoundSimulator::compare(const ChartTable &first, const ChartTable &second,
                                                   long long rounds, uint64_t seed)
{
    RoundSimulator a(first);
    RoundSimulator b(second);
    Sums sumsA, sumsB, sumsDifference;
    for (long long round = 0; round < rounds; ++round) {
        const int resultA = a.playRound(seed, static_cast<uint64_t>(round));
        const int resultB = b.playRound(seed, static_cast<uint64_t>(round));
        sumsA.add(resultA);
        sumsB.add(resultB);
        sumsDifference.add(resultA - resultB);
    }
    return {sumsA.statistics(), sumsB.statistics(), sumsDifference.statistics()};
}
