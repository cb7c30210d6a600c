#include "CasinoEngineBench.h"
#include "CasinoDerivation.h"
#include "CasinoEngine.h"
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>

namespace {
// CPU time of this thread: the machine's other work does not count.
double threadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return 1000.0 * double(now.tv_sec) + double(now.tv_nsec) / 1e6;
}

int drawValue(Shoe &shoe, std::mt19937_64 &random)
{
    return shoe.take(std::uniform_int_distribution<int>(0, shoe.total - 1)(random));
}

// Times every play's value of 2000 hands, each from a 6-deck shoe after a
// random number of cards (0..150) are gone and the up-card is dealt. `deal`
// takes the hand's cards from the shoe; a hand it leaves empty takes no
// decision and another is dealt.
template <class Deal>
void timeLiveOdds(const CasinoEngine &engine, std::mt19937_64 &random, const char *hands, Deal deal)
{
    const int count = 2000;
    double total = 0.0, worst = 0.0;
    for (int played = 0; played < count;) {
        Shoe shoe = Shoe::fullShoe(6);
        const int gone = std::uniform_int_distribution<int>(0, 150)(random);
        for (int i = 0; i < gone; ++i)
            drawValue(shoe, random);
        const int up = drawValue(shoe, random);
        const CasinoEngine::Position position = deal(shoe, played);
        if (position.cards.empty())
            continue;
        const double start = threadMilliseconds();
        engine.values(shoe, up, position);
        const double milliseconds = threadMilliseconds() - start;
        total += milliseconds;
        worst = std::max(worst, milliseconds);
        ++played;
    }
    std::printf("casino live odds, every play of %s, 6 decks less 0..150 cards, CPU: mean %.3f ms (target 2), "
                "worst %.3f ms (target 10) over %d hands\n",
                hands, total / count, worst, count);
}

bool takesDecision(const CasinoEngine::Position &position)
{
    int sum = 0;
    for (int value : position.cards)
        sum += value;
    const bool ace = std::count(position.cards.begin(), position.cards.end(), 1) > 0;
    // Hands at 21 or over, and split aces (one card each), take none.
    return sum < 21 && !(ace && sum == 11) && !(position.hands > 1 && position.cards[0] == 1);
}
}

void benchCasinoEngine()
{
    for (int decks : {1, 2, 6, 8}) {
        GameRules rules = GameRules::casinoDefaults();
        rules.decks = decks;
        const std::clock_t start = std::clock();
        CasinoDerivation derivation(rules);
        derivation.derive();
        const double milliseconds = 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC;
        std::printf("casino chart, %d deck%s (S17, DAS, split to 4): %.1f ms of CPU%s\n", decks,
                    decks > 1 ? "s" : "", milliseconds, decks == 6 ? " (target 1000)" : "");
    }

    GameRules rules = GameRules::casinoDefaults();
    rules.lateSurrender = true;
    const CasinoEngine engine(rules);
    std::mt19937_64 random(20261207);
    timeLiveOdds(engine, random, "a first two-card hand", [&random](Shoe &shoe, int) {
        CasinoEngine::Position position{{drawValue(shoe, random), drawValue(shoe, random)}};
        return takesDecision(position) ? position : CasinoEngine::Position{};
    });
    // Later decisions: a hand after one or two hits, or a split hand of two,
    // three or four.
    timeLiveOdds(engine, random, "a later hand (3 or 4 cards, or split into 2 to 4)", [&random](Shoe &shoe, int played) {
        CasinoEngine::Position position;
        if (played % 2 == 1) {
            position.hands = 2 + played / 2 % 3;
            position.hand = position.hands - 1;
            // The other hands' cards: one pair card each, and what they drew.
            for (int i = 0; i < 3 * position.hands; ++i)
                drawValue(shoe, random);
            position.cards = {drawValue(shoe, random), drawValue(shoe, random)};
        } else {
            for (int i = 0; i < 3 + played / 2 % 2; ++i)
                position.cards.push_back(drawValue(shoe, random));
        }
        return takesDecision(position) ? position : CasinoEngine::Position{};
    });
}
