#include "CasinoDealer.h"
#include <map>

namespace {
struct Drawing {
    static constexpr unsigned char drawsOn = 255;
    bool hitsSoft17;
    std::array<unsigned char, 10> counts{};
    // Sets still drawing -> orders, and the state they draw from.
    std::map<std::array<unsigned char, 10>, std::pair<double, int>> found;
    std::array<std::array<unsigned char, 10>, 34> outcomeAfter{};

    // The outcome of a hand: its final index, or `drawsOn` while it draws on.
    int outcome(int hardSum, bool hasAce) const
    {
        const bool soft = hasAce && hardSum + 10 <= 21;
        const int total = soft ? hardSum + 10 : hardSum;
        if (total > 21)
            return CasinoDealer::bust;
        const bool stands = total > 17 || (total == 17 && !(soft && hitsSoft17));
        return stands ? total - 17 : drawsOn;
    }

    void draw(int hardSum, bool hasAce, int cards)
    {
        const int state = hardSum * 2 + (hasAce ? 1 : 0);
        auto &entry = found[counts];
        entry.first += 1.0;
        entry.second = state;
        for (int value = 1; value <= 10; ++value) {
            const int after = outcome(hardSum + value, hasAce || value == 1);
            // A natural is settled apart: the hole card that makes one counts nowhere.
            const bool natural = cards == 0 && after == 4;
            outcomeAfter[state][value - 1] = static_cast<unsigned char>(natural ? drawsOn : after);
            if (after != drawsOn)
                continue;
            ++counts[value - 1];
            draw(hardSum + value, hasAce || value == 1, cards + 1);
            --counts[value - 1];
        }
    }
};
}

CasinoDealer::CasinoDealer(bool hitsSoft17)
{
    for (int up = 1; up <= 10; ++up) {
        Drawing drawing{hitsSoft17, {}, {}, {}};
        drawing.draw(up, up == 1, 0);
        UpCard &upCard = draws[up - 1];
        upCard.outcomeAfter = drawing.outcomeAfter;
        for (const auto &[counts, entry] : drawing.found) {
            DrawSet set{entry.first, 0, 0, static_cast<unsigned char>(entry.second), {}, {}};
            for (int i = 0; i < 10; ++i) {
                if (counts[i] == 0)
                    continue;
                set.values[set.kinds] = static_cast<unsigned char>(i);
                set.counts[set.kinds++] = counts[i];
                set.cards = static_cast<unsigned char>(set.cards + counts[i]);
            }
            upCard.sets.push_back(set);
        }
    }
}

CasinoDealer::Finals CasinoDealer::finals(const Shoe &shoe, int upValue) const
{
    // falling[i][k] = n (n - 1) .. (n - k + 1) for n cards of value index i.
    double falling[10][mostOfOneValue + 1];
    for (int i = 0; i < 10; ++i) {
        falling[i][0] = 1.0;
        for (int k = 1; k <= mostOfOneValue; ++k)
            falling[i][k] = falling[i][k - 1] * (shoe.counts[i] - k + 1 > 0 ? shoe.counts[i] - k + 1 : 0);
    }
    // overShoe[m] = 1 / (N (N - 1) .. (N - m)): the set's m cards and the next one.
    double overShoe[mostCards + 1];
    double product = 1.0;
    for (int m = 0; m <= mostCards; ++m)
        product *= shoe.total - m > 0 ? shoe.total - m : 0;
    overShoe[mostCards] = product > 0.0 ? 1.0 / product : 0.0;
    for (int m = mostCards; m > 0; --m)
        overShoe[m - 1] = overShoe[m] * (shoe.total - m > 0 ? shoe.total - m : 0);
    if (product == 0.0) // a shoe this short: term by term
        for (int m = 0; m <= mostCards; ++m)
            overShoe[m] = m == 0 ? 1.0 / shoe.total : shoe.total - m > 0 ? overShoe[m - 1] / (shoe.total - m) : 0.0;

    // By state: the summed chance of its sets, and of each value's cards they hold.
    const UpCard &upCard = draws[upValue - 1];
    double reach[states] = {};
    double held[states][10] = {};
    for (const DrawSet &set : upCard.sets) {
        double chance = set.orders * overShoe[set.cards];
        for (int j = 0; j < set.kinds; ++j)
            chance *= falling[set.values[j]][set.counts[j]];
        reach[set.state] += chance;
        for (int j = 0; j < set.kinds; ++j)
            held[set.state][set.values[j]] += chance * set.counts[j];
    }
    Finals finals{};
    for (int state = 0; state < states; ++state) {
        if (reach[state] == 0.0)
            continue;
        for (int i = 0; i < 10; ++i) {
            const unsigned char outcome = upCard.outcomeAfter[state][i];
            if (outcome != drawsOn)
                finals[outcome] += reach[state] * shoe.counts[i] - held[state][i];
        }
    }
    return finals;
}

double CasinoDealer::naturalChance(const Shoe &shoe, int upValue)
{
    if (upValue != 1 && upValue != 10)
        return 0.0;
    return double(shoe.count(upValue == 1 ? 10 : 1)) / shoe.total;
}
