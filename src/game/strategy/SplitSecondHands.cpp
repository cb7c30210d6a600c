#include "SplitSecondHands.h"
#include <algorithm>

namespace {
constexpr int laneCount = 10;

// A lane is the original up-card of its value, taken from the tree's shoe:
// a lane whose card that shoe lacks cannot happen there, and keeps zeros.
bool laneOpen(const Shoe &shoe, int lane)
{
    return shoe.counts[lane] > 0;
}
}

SplitSecondHands::SplitSecondHands(StrategyEngine &engine, const ChartTable &chart,
                                   const std::array<int, ChartTable::columns> &columnStamp)
    : ChartPlayTree(chart, columnStamp), engine(engine), splitStart{0}
{
    // A single deck's second hands come to about 52,000 hands with 184,000
    // cards that lead on by the end of a derivation: one table each instead
    // of a doubling cascade, which copied the hands once more.
    nodes.reserve(1 << 16);
    children.reserve(1 << 18);
    nodeIndex.reserve(1 << 16);
}

int SplitSecondHands::add(int pairRank, int rankLeft, int up, const Shoe &shoe)
{
    // Dealt as the engine's split deals the second hand: a new up-card, one
    // set-aside step, its second card.
    Shoe marked = shoe;
    marked.markRank(valueOf(pairRank), rankLeft);
    marked.forEachDraw(false, [&](double upProbability, int newUp, const Shoe &afterUp) {
        afterUp.forEachDraw(true, [&](double probability, int card, const Shoe &after) {
            Shoe withUp = after;
            withUp.clearMark();
            withUp.put(up);
            dealt.push_back({entryFor(pairRank, card, newUp, withUp), up - 1, upProbability * probability});
        });
    });
    splitStart.push_back(int(dealt.size()));
    splitReach.push_back(0.0);
    return int(splitStart.size()) - 2;
}

int SplitSecondHands::entryFor(int pairRank, int card, int up, const Shoe &shoe)
{
    const int pairValue = valueOf(pairRank);
    const uint64_t key = shoe.countsKey() | uint64_t(up) << 41 | uint64_t(pairValue) << 45 | uint64_t(card) << 49;
    if (const int *found = entryIndex.find(key))
        return *found;
    const PlayerHand hand{pairValue + card, pairRank == 1 || card == 1, 2};
    Entry entry;
    entry.row = int8_t(hand.total() == 21 ? -1 : ChartTable::twoCardRow(pairRank, ChartTable::splitCardRank(pairRank, card)));
    entry.up = int8_t(up);
    entry.stand.fill(0.0);
    for (int lane = 0; lane < laneCount; ++lane) {
        if (!laneOpen(shoe, lane))
            continue;
        Shoe dealtShoe = shoe;
        dealtShoe.remove(lane + 1);
        entry.stand[lane] = engine.standRaw(hand, up, dealtShoe, false);
    }
    entry.node = entry.row < 0 ? -1 : nodeFor(shoe, hand, up, false, entry.stand);
    pairRows = pairRows || (entry.row >= 0 && ChartTable::isPairRow(entry.row));
    entries.push_back(entry);
    return entryIndex.insert(key, int(entries.size()) - 1);
}

// Each lane draws exactly as a hand of its own: the same chances, the same
// dealer outcomes (asked together), summed in the same order.
void SplitSecondHands::expand(int index)
{
    const Shoe shoe = nodes[index].shoe;
    const PlayerHand hand = nodes[index].hand;
    const int up = nodes[index].up;
    struct Draw {
        int card;
        int lane;
        double probability;
        int standing; // index of its dealer outcomes, -1 for a bust
    };
    constexpr int most = laneCount * 10;
    std::array<Draw, most> draws;
    std::array<Shoe, most> after;
    std::array<const Shoe *, most> standing;
    std::array<int, most> totals;
    std::array<int, most> places;
    // The card y in the lane of x leaves the shoe the card x leaves in the
    // lane of y: one dealer outcome serves both where the dealer plays alike
    // against the two totals.
    std::array<std::array<int, 10>, 10> standingOf; // [card - 1][lane]
    int count = 0, standingCount = 0;
    for (int card = 1; card <= 10; ++card) {
        const int total = hand.plus(card).total();
        for (int lane = 0; lane < laneCount; ++lane) {
            standingOf[card - 1][lane] = -1;
            const int left = shoe.count(card) - (card == lane + 1 ? 1 : 0);
            if (!laneOpen(shoe, lane) || left <= 0)
                continue;
            Draw &draw = draws[count];
            draw = {card, lane, double(left) / (shoe.total - 1), -1};
            after[count] = shoe;
            after[count].remove(lane + 1);
            after[count].remove(card);
            if (total <= 21) {
                const int mirror = lane + 1 < card ? standingOf[lane][card - 1] : -1;
                if (mirror >= 0 && engine.dealerOutcomes.playsAlike(total, totals[mirror])) {
                    draw.standing = mirror;
                } else {
                    draw.standing = standingCount;
                    standing[standingCount] = &after[count];
                    totals[standingCount++] = total;
                }
                standingOf[card - 1][lane] = draw.standing;
            }
            ++count;
        }
    }
    if (standingCount > 0)
        engine.dealerOutcomes.prepare(up, standing.data(), totals.data(), standingCount, places.data());
    // The outcomes lie all over a large table: ask for them all before reading any.
    for (int k = 0; k < standingCount; ++k) {
        const char *outcomes = reinterpret_cast<const char *>(&engine.dealerOutcomes.at(places[k]));
        __builtin_prefetch(outcomes);
        __builtin_prefetch(outcomes + sizeof(DealerFinals) - 1);
    }

    Node &node = nodes[index];
    node.firstChild = int(children.size());
    for (int k = 0; k < count;) {
        const int card = draws[k].card;
        const PlayerHand next = hand.plus(card);
        const int total = next.total();
        Child child{};
        child.chance = double(shoe.count(card)) / (shoe.total - 1);
        child.chanceInOwnLane = double(shoe.count(card) - 1) / (shoe.total - 1);
        for (; k < count && draws[k].card == card; ++k) {
            const int lane = draws[k].lane;
            const double probability = draws[k].probability;
            const double value = total > 21 ? engine.bustRaw(up, after[k])
                                            : engine.standAgainst(engine.dealerOutcomes.at(places[draws[k].standing]),
                                                                  total, false);
            node.oneCard[lane] += probability * value;
            if (total >= 21) {
                node.ended[lane] += probability * value;
            } else {
                child.stand[lane] = value;
            }
        }
        if (total < 21) {
            child.node = -1;
            child.row = int8_t(ChartTable::laterRow(next.hardSum, next.hasAce));
            child.card = int8_t(card);
            child.doubleStands = ChartTable::withoutDouble(total, total != next.hardSum) == 's';
            children.push_back(child);
        }
    }
    node.childCount = int(children.size()) - node.firstChild;
}

Shoe SplitSecondHands::childShoe(const Node &parent, const Child &child) const
{
    Shoe after = parent.shoe;
    after.remove(child.card);
    return after;
}

char SplitSecondHands::entryCode(const Entry &entry) const
{
    return entry.row < 0 ? 's' : chart.code(entry.row, ChartTable::column(entry.up));
}

SplitSecondHands::Lanes SplitSecondHands::entryValue(const Entry &entry, char code)
{
    switch (entry.row < 0 ? 's' : code) {
    case 'h':
    case 'p': // a split hand does not split again: the player draws instead
        return hitValue(entry.node);
    case 'd':
        return doubledValue(entry.node);
    default:
        return entry.stand;
    }
}

void SplitSecondHands::evaluate()
{
    for (Entry &entry : entries)
        entry.current = entryValue(entry, entryCode(entry));
}

double SplitSecondHands::value(int split) const
{
    double sum = 0.0;
    for (int d = splitStart[split]; d < splitStart[split + 1]; ++d)
        sum += dealt[d].probability * entries[dealt[d].entry].current[dealt[d].lane];
    return sum;
}

void SplitSecondHands::startReach()
{
    ChartPlayTree::startReach();
    std::fill(splitReach.begin(), splitReach.end(), 0.0);
    for (auto &cells : mergedEntries)
        for (std::vector<int> &list : cells)
            list.clear();
}

void SplitSecondHands::addReach(CellActionSums &sums)
{
    for (Entry &entry : entries)
        entry.reach.fill(0.0);
    for (std::size_t split = 0; split < splitReach.size(); ++split) {
        if (splitReach[split] == 0.0)
            continue;
        for (int d = splitStart[split]; d < splitStart[split + 1]; ++d)
            entries[dealt[d].entry].reach[dealt[d].lane] += splitReach[split] * dealt[d].probability;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry &entry = entries[i];
        if (entry.row < 0 || !any(entry.reach))
            continue;
        const int column = ChartTable::column(entry.up);
        const Lanes hit = hitValue(entry.node);
        std::array<double, CellActionCount> &cell = sums[entry.row][column];
        cell[StandAction] += dot(entry.reach, entry.stand);
        cell[HitAction] += dot(entry.reach, hit);
        cell[DoubleAction] += dot(entry.reach, entryValue(entry, 'd'));
        if (ChartTable::isPairRow(entry.row))
            cell[SplitAction] += dot(entry.reach, hit);
        if (ChartTable::isMergedRow(entry.row))
            mergedEntries[entry.row][column].push_back(int(i));
        const char code = entryCode(entry);
        if (code == 'h' || code == 'p')
            hitFrom(entry.node, entry.reach, entry.row);
    }
    ChartPlayTree::addReach(sums);
}

double SplitSecondHands::mergedChange(int row, int column, char code)
{
    startChange();
    double change = 0.0;
    for (const int i : mergedEntries[row][column]) {
        const Lanes changed = code == 'h' ? changedHit(entries[i].node, row, code) : entryValue(entries[i], code);
        for (int lane = 0; lane < laneCount; ++lane)
            change += entries[i].reach[lane] * (changed[lane] - entries[i].current[lane]);
    }
    return change + entrantsChange(row, column, code);
}
