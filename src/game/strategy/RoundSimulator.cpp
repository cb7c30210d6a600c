#include "RoundSimulator.h"
#include "DealerRule.h"
#include "Hand.h"
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

RoundSimulator::RoundSimulator(const ChartTable &chart)
{
    for (int up = 1; up <= 10; ++up) {
        for (int first = 1; first <= 13; ++first) {
            for (int second = 1; second <= 13; ++second) {
                Hand hand;
                hand.add(Card::fromIndex((first - 1) * 4));
                hand.add(Card::fromIndex((second - 1) * 4 + 1));
                twoCardAdvice[up][first][second] = chart.advice(hand, up);
            }
        }
        for (int hardSum = 0; hardSum < 32; ++hardSum) {
            for (int hasAce = 0; hasAce <= 1; ++hasAce)
                laterAdvice[up][hardSum][hasAce] = chart.laterAdvice(hardSum, hasAce, up);
        }
    }
    for (int player = 0; player <= 21; ++player) {
        for (int dealer = 0; dealer <= 21; ++dealer) {
            if (dealerDraws(dealer, player))
                dealerDrawsAt[player] |= 1u << dealer;
        }
    }
}

void RoundSimulator::Stock::reset(uint64_t seed, const int *forcedCards, int count)
{
    forced = forcedCards;
    forcedCount = count;
    // The same starting order every round, so a seed alone fixes the deck.
    std::iota(order.begin(), order.end(), uint8_t(0));
    for (uint64_t &word : state)
        word = splitMix(seed);
    dealt = 0;
    topShown = false;
}

inline uint64_t RoundSimulator::Stock::nextRandom()
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

inline int RoundSimulator::Stock::topRank()
{
    if (!topShown) {
        const uint64_t left = 52 - dealt;
        int pick = dealt + static_cast<int>(((nextRandom() >> 32) * left) >> 32);
        if (dealt < forcedCount)
            pick = static_cast<int>(std::find(order.begin() + dealt, order.end(), forced[dealt]) - order.begin());
        std::swap(order[dealt], order[pick]);
        topShown = true;
    }
    return order[dealt] / 4 + 1;
}

inline int RoundSimulator::Stock::takeRank()
{
    const int rank = topRank();
    ++dealt;
    topShown = false;
    return rank;
}

inline void RoundSimulator::PlayedHand::add(int rank)
{
    if (cards == 0)
        firstRank = rank;
    else if (cards == 1)
        secondRank = rank;
    ++cards;
    hardSum += rank > 10 ? 10 : rank;
    hasAce = hasAce || rank == 1;
}

inline char RoundSimulator::advice(const PlayedHand &hand, int upValue) const
{
    return hand.cards == 2 ? twoCardAdvice[upValue][hand.firstRank][hand.secondRank]
                           : laterAdvice[upValue][hand.hardSum][hand.hasAce];
}

int RoundSimulator::playRound(uint64_t seed, uint64_t round, const FirstCards *firstCards, char firstAction)
{
    stock.reset(seed ^ (round * 0xD1B54A32D192ED03ull), firstCards ? firstCards->data() : nullptr,
                firstCards ? int(firstCards->size()) : 0);
    return playDealtRound(firstAction);
}

int RoundSimulator::playRound(const std::array<Card, 52> &deck)
{
    std::array<int, 52> dealing{};
    for (int i = 0; i < 52; ++i)
        dealing[i] = deck[51 - i].cardIndex;
    stock.reset(0, dealing.data(), 52);
    return playDealtRound(0);
}

int RoundSimulator::playDealtRound(char firstAction)
{
    split.happened = false;
    const int upRank = stock.takeRank();
    const int up = upRank > 10 ? 10 : upRank;
    PlayedHand playerHand;
    playerHand.add(stock.takeRank());
    playerHand.add(stock.takeRank());
    const int pairRank = playerHand.firstRank;
    const char first = firstAction ? firstAction : advice(playerHand, up);
    if (playerHand.total() == 21 || first != 'p' || playerHand.secondRank != pairRank)
        return playHand(playerHand, up, 0, first);

    // Split: the first hand gets its second card (setting cards aside) and is
    // settled; then the waiting card meets a new dealer hand.
    PlayedHand firstHand;
    firstHand.add(pairRank);
    hit(firstHand, pairRank);
    split.happened = true;
    split.first = playHand(firstHand, up, pairRank, 0);
    const int secondUpRank = stock.takeRank();
    setAside(pairRank);
    PlayedHand secondHand;
    secondHand.add(pairRank);
    secondHand.add(stock.takeRank());
    split.second = playHand(secondHand, secondUpRank > 10 ? 10 : secondUpRank, 0, 0);
    return split.first + split.second;
}

int RoundSimulator::playHand(PlayedHand &hand, int upValue, int pairRank, char firstCode)
{
    for (;;) {
        const int total = hand.total();
        if (total > 21)
            return -1;
        if (total == 21)
            return settle(hand, upValue, 1);
        const char code = firstCode ? firstCode : advice(hand, upValue);
        firstCode = 0;
        switch (code) {
        case 'd':
            if (hand.cards == 2) {
                hit(hand, pairRank);
                return hand.total() > 21 ? -2 : settle(hand, upValue, 2);
            }
            hit(hand, pairRank);
            break;
        case 'h':
        case 'p': // no split here: the player draws
            hit(hand, pairRank);
            break;
        default:
            return settle(hand, upValue, 1);
        }
    }
}

inline void RoundSimulator::hit(PlayedHand &hand, int pairRank)
{
    if (pairRank > 0)
        setAside(pairRank);
    hand.add(stock.takeRank());
}

inline void RoundSimulator::setAside(int pairRank)
{
    for (int i = 0; i < 2 && stock.topRank() == pairRank; ++i)
        stock.takeRank();
}

int RoundSimulator::settle(const PlayedHand &hand, int upValue, int stake)
{
    const int playerTotal = hand.total();
    PlayedHand dealerHand;
    dealerHand.add(upValue);
    dealerHand.add(stock.takeRank());
    int dealerTotal = dealerHand.total();
    while (dealerTotal <= 21 && (dealerDrawsAt[playerTotal] >> dealerTotal & 1u)) {
        dealerHand.add(stock.takeRank());
        dealerTotal = dealerHand.total();
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

template <class PlayAll>
std::vector<RoundSimulator::Comparison> RoundSimulator::compareOnSameDecks(long long rounds, int others,
                                                                           PlayAll &&playAll)
{
    std::vector<int> results(others + 1);
    std::vector<Sums> played(others + 1), differences(others);
    for (long long round = 0; round < rounds; ++round) {
        playAll(static_cast<uint64_t>(round), results.data());
        for (int i = 0; i <= others; ++i)
            played[i].add(results[i]);
        for (int i = 0; i < others; ++i)
            differences[i].add(results[0] - results[i + 1]);
    }
    std::vector<Comparison> comparisons;
    for (int i = 0; i < others; ++i)
        comparisons.push_back({played[0].statistics(), played[i + 1].statistics(), differences[i].statistics()});
    return comparisons;
}

RoundSimulator::Comparison RoundSimulator::compare(const ChartTable &first, const ChartTable &second,
                                                   long long rounds, uint64_t seed)
{
    RoundSimulator a(first);
    RoundSimulator b(second);
    return compareOnSameDecks(rounds, 1, [&](uint64_t round, int *results) {
        results[0] = a.playRound(seed, round);
        results[1] = b.playRound(seed, round);
    }).front();
}

std::vector<RoundSimulator::Comparison> RoundSimulator::compareFirstActions(const ChartTable &chart,
                                                                            const FirstCards &firstCards,
                                                                            const std::string &actions,
                                                                            long long rounds, uint64_t seed)
{
    RoundSimulator simulator(chart);
    return compareOnSameDecks(rounds, static_cast<int>(actions.size()) - 1, [&](uint64_t round, int *results) {
        for (size_t i = 0; i < actions.size(); ++i)
            results[i] = simulator.playRound(seed, round, &firstCards, actions[i]);
    });
}
