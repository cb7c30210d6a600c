#include "CasinoColumn.h"
#include "SplitHandCounts.h"
#include <algorithm>
#include <cmath>

namespace {
using Code = CasinoChart::Code;
using Play = CasinoChart::Play;

// Round values closer than this are equal: rounding must not pick a code.
constexpr double noise = 1e-13;

// Rows in the order they are decided: each row's hands lead only to rows before it.
constexpr int rowOrder[] = {11, 10, 9, 8, 7, 6, 5, 19, 18, 17, 16, 15, 14, 13, 12, 4, 3, 2, 1, 0,
                            20, 21, 22, 23, 24, 25, 26, 27, 28, 29};

Code fallbackOf(Code code)
{
    switch (code) {
    case Code::Double:
    case Code::Surrender: return Code::Hit;
    case Code::DoubleElseStand:
    case Code::SurrenderElseStand: return Code::Stand;
    case Code::SurrenderElseSplit: return Code::Split;
    default: return code;
    }
}
}

CasinoColumn::CasinoColumn(const GameRules &rules, const CasinoDealer &dealer, const Shoe &fullShoe, int upValue)
    : rules(rules), dealer(dealer), shoe(fullShoe), up(upValue)
{
    shoe.remove(upValue);
    familyOfPair.fill(-1);
    addFamily(0);
    for (int pair = 1; pair <= 10; ++pair)
        if (rules.splitHands >= 2 && shoe.count(pair) >= 2)
            addFamily(pair);
    for (Family &family : families)
        for (int hand = 0; hand < family.hands->size(); ++hand)
            if (family.row[hand] >= 0)
                rowHands[family.row[hand]].push_back({int(&family - families.data()), hand});
    for (auto &places : rowHands)
        std::stable_sort(places.begin(), places.end(), [this](const Place &a, const Place &b) {
            return (*families[a.family].hands)[a.hand].hardSum > (*families[b.family].hands)[b.hand].hardSum;
        });

    // A natural is paid (or pushes) and a dealer natural takes the original stake, whatever the chart.
    const double pairs = double(shoe.total) * (shoe.total - 1);
    const Family &main = families[0];
    for (int hand = 0; hand < main.hands->size(); ++hand)
        if ((*main.hands)[hand].count == 2)
            naturals -= main.dealt[hand] * (1.0 - (*main.hands)[hand].noNatural);
    if (shoe.count(1) > 0 && shoe.count(10) > 0) {
        Shoe afterNatural = shoe;
        afterNatural.remove(1);
        afterNatural.remove(10);
        const double natural = 2.0 * shoe.count(1) * shoe.count(10) / pairs;
        naturals += natural * rules.naturalPayout * (1.0 - CasinoDealer::naturalChance(afterNatural, up));
    }
}

void CasinoColumn::addFamily(int pairValue)
{
    Family family;
    family.pairValue = pairValue;
    Shoe base = shoe;
    if (pairValue > 0)
        base.remove(pairValue); // the other hand's card: each hand holds its own
    family.hands = std::make_unique<CasinoHands>(dealer, base, up, memo);
    CasinoHands &hands = *family.hands;
    family.second.fill(-1);
    std::vector<std::pair<int, double>> dealt;
    if (pairValue == 0) {
        const double pairs = double(base.total) * (base.total - 1);
        for (int first = 1; first <= 10; ++first)
            for (int second = first; second <= 10; ++second) {
                const double chance = (first == second ? 1.0 : 2.0) * base.count(first) *
                                      (base.count(second) - (first == second ? 1 : 0)) / pairs;
                if (chance <= 0.0 || (first == 1 && second == 10))
                    continue;
                CasinoHands::Cards cards{};
                ++cards[first - 1];
                ++cards[second - 1];
                dealt.emplace_back(hands.add(cards), chance);
            }
    } else {
        CasinoHands::Cards one{};
        ++one[pairValue - 1];
        for (int second = 1; second <= 10; ++second) {
            const double chance = hands.drawChance(one, 1, second);
            if (chance <= 0.0)
                continue;
            CasinoHands::Cards cards = one;
            ++cards[second - 1];
            family.second[second - 1] = hands.add(cards, pairValue != 1); // split aces take one card
            family.secondChance[second - 1] = chance;
        }
        const bool resplits = pairValue != 1 || rules.resplitAces;
        const SplitHandCounts counts =
            SplitHandCounts::of(base.count(pairValue) - 1, base.total - 1, resplits ? rules.splitHands : 2);
        const double otherChance = 1.0 - family.secondChance[pairValue - 1];
        otherCardShare[pairValue] = otherChance > 0.0 ? counts.otherCard / otherChance : 0.0;
        pairAgainHands[pairValue] = counts.pairAgain;
        familyOfPair[pairValue] = static_cast<int>(families.size());
    }
    if (pairValue == 0)
        for (int pair = 1; pair <= 10; ++pair) {
            CasinoHands::Cards cards{};
            cards[pair - 1] = 2;
            pairHand[pair] = base.count(pair) >= 2 ? hands.add(cards) : -1;
        }
    const int size = hands.size();
    family.dealt.assign(size, 0.0);
    for (const auto &[hand, chance] : dealt)
        family.dealt[hand] = chance;
    family.reach.assign(size, 0.0);
    family.entry.assign(size, 0.0);
    family.value.assign(size, 0.0);
    family.candidate.assign(size, 0.0);
    classify(family, pairValue);
    family.byCount.resize(size);
    for (int hand = 0; hand < size; ++hand)
        family.byCount[hand] = hand;
    std::stable_sort(family.byCount.begin(), family.byCount.end(),
                     [&hands](int a, int b) { return hands[a].count < hands[b].count; });
    families.push_back(std::move(family));
}

void CasinoColumn::classify(Family &family, int pairValue)
{
    const CasinoHands &hands = *family.hands;
    const int size = hands.size();
    family.kind.resize(size);
    family.row.resize(size);
    family.allowed.resize(size);
    for (int at = 0; at < size; ++at) {
        const CasinoHands::Hand &hand = hands[at];
        const int totalRow = CasinoChart::totalRow(hand.total(), hand.soft());
        CasinoChart::Allowed allowed;
        Kind kind = Kind::Later;
        int row = totalRow;
        if (hand.count == 2 && pairValue == 0) {
            kind = Kind::First;
            const bool pair = *std::max_element(hand.cards.begin(), hand.cards.end()) == 2;
            allowed = {rules.mayDouble(hand.hardSum, hand.hasAce, false), pair && rules.splitHands >= 2,
                       rules.lateSurrender};
            if (allowed.split)
                row = CasinoChart::pairRow(hand.hardSum / 2);
        } else if (hand.count == 2) {
            kind = pairValue == 1 ? Kind::Fixed : Kind::SplitFirst;
            allowed.doubleDown = rules.mayDouble(hand.hardSum, hand.hasAce, true);
        }
        if (row < 0 || kind == Kind::Fixed) {
            kind = Kind::Fixed;
            row = -1;
        }
        family.kind[at] = kind;
        family.row[at] = row;
        family.allowed[at] = allowed;
    }
}

double CasinoColumn::valueWith(const Family &family, int at, Code code, int deciding) const
{
    const CasinoHands::Hand &hand = (*family.hands)[at];
    switch (CasinoChart::resolve(code, family.allowed[at])) {
    case Play::Stand: return family.hands->stand(at);
    case Play::Surrender: return -0.5 * hand.noNatural;
    case Play::Split: return splitValue(hand.hardSum / 2);
    case Play::Double: {
        double value = 0.0;
        for (int i = 0; i < 10; ++i)
            value += hand.chance[i] * (hand.next[i] == CasinoHands::busted ? hand.bustValue[i]
                                                                           : family.hands->stand(hand.next[i]));
        return 2.0 * value;
    }
    case Play::Hit: break;
    }
    double value = 0.0;
    for (int i = 0; i < 10; ++i) {
        const int next = hand.next[i];
        if (next == CasinoHands::busted)
            value += hand.chance[i] * hand.bustValue[i];
        else
            value += hand.chance[i] * (deciding >= 0 && family.row[next] == deciding ? family.candidate[next] : family.value[next]);
    }
    return value;
}

double CasinoColumn::splitValue(int pairValue) const
{
    const Family &family = families[familyOfPair[pairValue]];
    double value = 0.0;
    for (int i = 0; i < 10; ++i) {
        const int hand = family.second[i];
        if (hand < 0)
            continue;
        value += i + 1 == pairValue ? pairAgainHands[pairValue] * family.value[hand]
                                    : otherCardShare[pairValue] * family.secondChance[i] * family.value[hand];
    }
    return value;
}

void CasinoColumn::reachAll(const CasinoChart &chart)
{
    const int column = CasinoChart::column(up);
    for (Family &family : families) {
        const int pairValue = family.pairValue;
        family.reach = family.dealt;
        if (pairValue > 0) {
            const Family &main = families[0];
            const int pairAt = pairHand[pairValue];
            const bool splits = CasinoChart::resolve(chart.code(main.row[pairAt], column), main.allowed[pairAt]) ==
                                Play::Split;
            const double start = splits ? main.dealt[pairAt] : 0.0;
            for (int i = 0; i < 10; ++i)
                if (family.second[i] >= 0)
                    family.reach[family.second[i]] =
                        start * (i + 1 == pairValue ? pairAgainHands[pairValue]
                                                    : otherCardShare[pairValue] * family.secondChance[i]);
        }
        family.entry = family.reach;
        const CasinoHands &hands = *family.hands;
        for (int at : family.byCount) {
            if (family.kind[at] == Kind::Fixed || family.reach[at] == 0.0)
                continue;
            if (CasinoChart::resolve(chart.code(family.row[at], column), family.allowed[at]) != Play::Hit)
                continue;
            const CasinoHands::Hand &hand = hands[at];
            for (int i = 0; i < 10; ++i) {
                const int next = hand.next[i];
                if (next == CasinoHands::busted)
                    continue;
                const double flow = family.reach[at] * hand.chance[i];
                family.reach[next] += flow;
                if (family.row[next] != family.row[at])
                    family.entry[next] += flow;
            }
        }
    }
}

void CasinoColumn::valueAll(const CasinoChart &chart)
{
    const int column = CasinoChart::column(up);
    // Split hands first: a main pair's split reads them.
    for (int index = static_cast<int>(families.size()) - 1; index >= 0; --index) {
        Family &family = families[index];
        for (auto at = family.byCount.rbegin(); at != family.byCount.rend(); ++at)
            family.value[*at] = family.kind[*at] == Kind::Fixed
                                    ? family.hands->stand(*at)
                                    : valueWith(family, *at, chart.code(family.row[*at], column), -1);
    }
}

CasinoChart::Code CasinoColumn::decide(int row, const std::vector<Code> &candidates)
{
    std::array<double, codes> &gains = codeGains[row];
    gains.fill(NAN);
    for (Code code : candidates) {
        double gain = 0.0;
        for (const Place &place : rowHands[row]) {
            Family &family = families[place.family];
            family.candidate[place.hand] = valueWith(family, place.hand, code, row);
            gain += family.entry[place.hand] * family.candidate[place.hand];
        }
        gains[static_cast<int>(code)] = gain;
    }
    // The highest value; among equals the code whose fallback does better, then the simplest.
    Code best = candidates.front();
    for (Code code : candidates) {
        const double gain = gains[static_cast<int>(code)];
        const double bestGain = gains[static_cast<int>(best)];
        const bool betterFallback = gains[static_cast<int>(fallbackOf(code))] >
                                    gains[static_cast<int>(fallbackOf(best))] + noise;
        if (gain > bestGain + noise || (gain >= bestGain - noise && betterFallback))
            best = code;
    }
    return best;
}

bool CasinoColumn::improve(CasinoChart &chart)
{
    const int column = CasinoChart::column(up);
    reachAll(chart);
    valueAll(chart);
    std::vector<Code> totalCodes, pairCodes;
    for (int index = 0; index < codes; ++index) {
        const Code code = static_cast<Code>(index);
        const bool surrenders = code == Code::Surrender || code == Code::SurrenderElseStand ||
                                code == Code::SurrenderElseSplit;
        if (surrenders && !rules.lateSurrender)
            continue;
        pairCodes.push_back(code);
        if (code != Code::Split && code != Code::SurrenderElseSplit)
            totalCodes.push_back(code);
    }
    bool changed = false;
    for (int row : rowOrder) {
        const Code best = decide(row, CasinoChart::isPairRow(row) ? pairCodes : totalCodes);
        changed = changed || best != chart.code(row, column);
        chart.setCode(row, column, best);
        for (const Place &place : rowHands[row]) {
            Family &family = families[place.family];
            family.candidate[place.hand] = valueWith(family, place.hand, best, row);
            family.value[place.hand] = family.candidate[place.hand];
        }
    }
    return changed;
}

double CasinoColumn::roundValue(const CasinoChart &chart)
{
    valueAll(chart);
    const Family &main = families[0];
    double value = naturals;
    for (int at = 0; at < main.hands->size(); ++at)
        value += main.dealt[at] * main.value[at];
    return value;
}
