#include "ChartEvaluation.h"
#include <cmath>

namespace {
int mergedIndex(int row)
{
    return row == ChartTable::hardRow(3) ? 0 : 1;
}
}

ChartEvaluation::ChartEvaluation(StrategyEngine &engine)
    : engine(engine), secondHands(engine, chart, columnStamp)
{
    // A single-deck chart meets about 30,000 hands besides the splits' second
    // hands and 500,000 dealer outcomes: grown by doubling, the tables would
    // be copied over and over.
    nodes.reserve(1 << 16);
    children.reserve(1 << 19);
    nodeIndex.reserve(1 << 16);
    engine.dealerOutcomes.reserve(1 << 19);
}

CellAction ChartEvaluation::actionOf(char code)
{
    switch (code) {
    case 's':
        return StandAction;
    case 'h':
        return HitAction;
    case 'd':
        return DoubleAction;
    default:
        return SplitAction;
    }
}

int ChartEvaluation::nodeFor(const Shoe &shoe, const PlayerHand &hand, int up, bool setAside, double stand)
{
    const uint64_t key = StrategyEngine::handKey(shoe, up, hand, setAside);
    if (const int *found = nodeIndex.find(key))
        return *found;
    Node node;
    node.shoe = shoe;
    node.hand = hand;
    node.up = int8_t(up);
    node.setAside = setAside;
    node.row = int8_t(ChartTable::laterRow(hand.hardSum, hand.hasAce));
    node.doubleStands = ChartTable::withoutDouble(hand.total(), hand.total() != hand.hardSum) == 's';
    node.stand = stand;
    nodes.push_back(node);
    if (int(byCardsLeft.size()) <= shoe.total)
        byCardsLeft.resize(shoe.total + 1);
    return nodeIndex.insert(key, int(nodes.size()) - 1);
}

void ChartEvaluation::expand(int index)
{
    const Node node = nodes[index];
    StrategyEngine::Draws draws(node.shoe, node.setAside);
    engine.prepareStands(node.hand, node.up, draws);
    const int first = int(children.size());
    double ended = 0.0;
    for (const StrategyEngine::Draws::Draw &draw : draws) {
        const auto &[probability, card, after, marked] = draw;
        const PlayerHand next = node.hand.plus(card);
        const int total = next.total();
        if (total >= 21) {
            ended += probability * (total > 21 ? engine.bustRaw(node.up, after)
                                               : engine.drawnStandRaw(draws, draw, next));
        } else {
            Child child;
            child.probability = probability;
            child.stand = engine.drawnStandRaw(draws, draw, next);
            child.node = -1;
            child.row = int8_t(ChartTable::laterRow(next.hardSum, next.hasAce));
            child.doubleStands = ChartTable::withoutDouble(total, total != next.hardSum) == 's';
            child.card = int8_t(card);
            child.marked = marked;
            child.setAside = int8_t(node.shoe.total - after.total - 1);
            children.push_back(child);
        }
    }
    nodes[index].ended = ended;
    nodes[index].firstChild = first;
    nodes[index].childCount = int(children.size()) - first;
}

int ChartEvaluation::childNode(int parent, int child)
{
    if (children[child].node < 0) {
        const Node &from = nodes[parent];
        Shoe after = from.shoe;
        for (int aside = 0; aside < children[child].setAside; ++aside)
            after.removeMarked();
        if (children[child].marked)
            after.removeMarked();
        else
            after.remove(children[child].card);
        const int node = nodeFor(after, from.hand.plus(children[child].card), from.up, from.setAside,
                                 children[child].stand);
        children[child].node = node;
    }
    return children[child].node;
}

double ChartEvaluation::childValue(int parent, int child)
{
    const Child &next = children[child];
    if (ChartTable::laterCode(chart.code(next.row, ChartTable::column(nodes[parent].up)), next.doubleStands) == 's')
        return next.stand;
    return hitValue(childNode(parent, child));
}

double ChartEvaluation::currentValue(int index)
{
    const Node &node = nodes[index];
    if (ChartTable::laterCode(chart.code(node.row, ChartTable::column(node.up)), node.doubleStands) == 's')
        return node.stand;
    return hitValue(index);
}

double ChartEvaluation::hitValue(int index)
{
    const int column = ChartTable::column(nodes[index].up);
    if (nodes[index].hitStamp == columnStamp[column])
        return nodes[index].hit;
    if (nodes[index].firstChild < 0)
        expand(index);
    const int first = nodes[index].firstChild;
    const int count = nodes[index].childCount;
    double sum = nodes[index].ended;
    for (int i = first; i < first + count; ++i)
        sum += children[i].probability * childValue(index, i);
    nodes[index].hit = sum;
    nodes[index].hitStamp = columnStamp[column];
    return sum;
}

char ChartEvaluation::entryCode(const Entry &entry) const
{
    return entry.row < 0 ? 's' : chart.code(entry.row, ChartTable::column(entry.up));
}

double ChartEvaluation::entryValue(Entry &entry, char code)
{
    switch (entry.row < 0 ? 's' : code) {
    case 'h':
        return hitValue(entry.node);
    case 'd':
        if (std::isnan(entry.doubled)) {
            const Node &node = nodes[entry.node];
            entry.doubled = engine.doubleRaw(node.hand, node.up, node.shoe, node.setAside);
        }
        return entry.doubled;
    case 'p':
        // Split refused (a split hand's pair): the player draws instead.
        return entry.split >= 0 ? entry.splitValue : hitValue(entry.node);
    default:
        return entry.stand;
    }
}

ChartEvaluation::Entry ChartEvaluation::makeEntry(double probability, int rank1, int rank2, int up,
                                                  const Shoe &shoe, bool setAside)
{
    Entry entry;
    entry.probability = probability;
    const PlayerHand hand{valueOf(rank1) + valueOf(rank2), rank1 == 1 || rank2 == 1, 2};
    entry.row = int8_t(hand.total() == 21 ? -1 : ChartTable::twoCardRow(rank1, rank2));
    entry.up = int8_t(up);
    entry.stand = engine.standRaw(hand, up, shoe, false);
    entry.node = entry.row < 0 ? -1 : nodeFor(shoe, hand, up, setAside, entry.stand);
    return entry;
}

// Both hands of a split, played as the engine's split plays them: the first
// hand with the pair's rank set aside before each card, the second against
// a new up-card, dealt as from the stock left at the split.
void ChartEvaluation::addSplit(int pairEntry, int pairRank, int rankLeft, const Shoe &shoe)
{
    const int pairValue = valueOf(pairRank);
    const int up = entries[pairEntry].up;
    const int split = int(entries.size());
    Shoe marked = shoe;
    marked.markRank(pairValue, rankLeft);
    marked.forEachDraw(true, [&](double probability, int card, const Shoe &after) {
        entries.push_back(makeEntry(probability, pairRank, ChartTable::splitCardRank(pairRank, card), up, after, true));
    });
    for (std::size_t i = split; i < entries.size(); ++i)
        splitPairs = splitPairs || (entries[i].row >= 0 && ChartTable::isPairRow(entries[i].row));
    entries[pairEntry].split = split;
    entries[pairEntry].splitCount = int(entries.size()) - split;
    entries[pairEntry].secondHands = secondHands.add(pairRank, rankLeft, up, shoe);
    splitPairs = splitPairs || secondHands.readPairRows();
}

// Every deal of up-card and two player cards, those alike for the chart met
// once with their chances summed. Naturals and the dealer's blackjacks no
// cell decides.
void ChartEvaluation::addDeals()
{
    FlatMap<int> alike;
    struct Pair {
        int entry, rank, rankLeft;
        Shoe shoe;
    };
    std::vector<Pair> pairs;
    StrategyEngine::forEachDeal([&](double probability, int up, int first, int second, bool natural, int rankLeft,
                                    const Shoe &shoe) {
        const int upValue = valueOf(up), low = std::min(valueOf(first), valueOf(second)),
                  high = std::max(valueOf(first), valueOf(second));
        const double noBlackjack = engine.dealerOutcomes.noBlackjack(upValue, shoe);
        fixedPart += probability * (natural ? 0.0 : -(1.0 - noBlackjack));
        if (natural) {
            fixedPart += probability * engine.standRaw({11, true, 2}, upValue, shoe, true);
            return;
        }
        const int pairLeft = first == second ? rankLeft : 0;
        const uint64_t key = 1 | uint64_t(upValue) << 1 | uint64_t(low) << 5 | uint64_t(high) << 9
                             | uint64_t(first == second) << 13 | uint64_t(pairLeft) << 14;
        if (const int *found = alike.find(key)) {
            entries[*found].probability += probability;
        } else {
            alike.insert(key, int(entries.size()));
            entries.push_back(makeEntry(probability, first, second, upValue, shoe, false));
            if (first == second)
                pairs.push_back({int(entries.size()) - 1, first, rankLeft, shoe});
        }
    });
    dealEntries = int(entries.size());
    for (const Pair &pair : pairs)
        addSplit(pair.entry, pair.rank, pair.rankLeft, pair.shoe);
}

void ChartEvaluation::evaluate(const ChartTable &next)
{
    if (!evaluated) {
        addDeals();
        evaluated = true;
    } else {
        for (int column = 0; column < ChartTable::columns; ++column) {
            for (int row = 0; row < ChartTable::rows; ++row) {
                if (next.code(row, column) != chart.code(row, column)) {
                    columnStamp[column] = ++stamp;
                    break;
                }
            }
        }
    }
    chart = next;
    for (std::size_t i = dealEntries; i < entries.size(); ++i)
        entries[i].current = entryValue(entries[i], entryCode(entries[i]));
    secondHands.evaluate();
    value = fixedPart;
    for (int i = 0; i < dealEntries; ++i) {
        Entry &entry = entries[i];
        if (entry.split >= 0) {
            entry.splitValue = secondHands.value(entry.secondHands);
            for (int s = entry.split; s < entry.split + entry.splitCount; ++s)
                entry.splitValue += entries[s].probability * entries[s].current;
        }
        entry.current = entryValue(entry, entryCode(entry));
        value += entry.probability * entry.current;
    }
    reachHands();
}

void ChartEvaluation::arrive(int index, double probability, bool sameCell)
{
    Node &node = nodes[index];
    if (node.reachStamp != reachPass) {
        node.reachStamp = reachPass;
        node.arriveSame = node.arriveOther = 0.0;
        byCardsLeft[node.shoe.total].push_back(index);
    }
    (sameCell ? node.arriveSame : node.arriveOther) += probability;
}

void ChartEvaluation::reachHands()
{
    ++reachPass;
    for (auto &cells : sums)
        for (auto &cell : cells)
            cell.fill(0.0);
    for (auto &merged : mergedEntries)
        for (std::vector<int> &list : merged)
            list.clear();
    for (auto &merged : mergedEntrants)
        for (std::vector<int> &list : merged)
            list.clear();

    for (int i = 0; i < dealEntries; ++i)
        entries[i].reach = entries[i].probability;
    for (std::size_t i = dealEntries; i < entries.size(); ++i)
        entries[i].reach = 0.0;
    secondHands.startReach();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        Entry &entry = entries[i];
        if (entry.reach == 0.0 || entry.row < 0)
            continue;
        const int column = ChartTable::column(entry.up);
        const char code = entryCode(entry);
        std::array<double, CellActionCount> &cell = sums[entry.row][column];
        cell[StandAction] += entry.reach * entry.stand;
        cell[HitAction] += entry.reach * hitValue(entry.node);
        cell[DoubleAction] += entry.reach * entryValue(entry, 'd');
        if (ChartTable::isPairRow(entry.row))
            cell[SplitAction] += entry.reach * entryValue(entry, 'p');
        if (ChartTable::isMergedRow(entry.row))
            mergedEntries[mergedIndex(entry.row)][column].push_back(int(i));
        if (code == 'p' && entry.split >= 0) {
            for (int s = entry.split; s < entry.split + entry.splitCount; ++s)
                entries[s].reach = entry.reach * entries[s].probability;
            secondHands.reachSplit(entry.secondHands, entry.reach);
        } else if (code == 'h' || code == 'p') {
            const int node = entry.node;
            for (int c = nodes[node].firstChild; c < nodes[node].firstChild + nodes[node].childCount; ++c)
                arrive(childNode(node, c), entry.reach * children[c].probability, children[c].row == entry.row);
        }
    }

    // A hand is reached only from hands with more cards left, so its chance
    // is complete by its turn.
    for (int cardsLeft = int(byCardsLeft.size()) - 1; cardsLeft >= 0; --cardsLeft) {
        for (std::size_t k = 0; k < byCardsLeft[cardsLeft].size(); ++k) {
            const int index = byCardsLeft[cardsLeft][k];
            const double reach = nodes[index].arriveSame + nodes[index].arriveOther;
            const int up = nodes[index].up;
            const int row = nodes[index].row;
            const int column = ChartTable::column(up);
            const double hit = hitValue(index);
            const Node &node = nodes[index];
            std::array<double, CellActionCount> &cell = sums[row][column];
            cell[StandAction] += reach * node.stand;
            cell[HitAction] += reach * hit;
            cell[DoubleAction] += reach * (node.doubleStands ? node.stand : hit);
            if (ChartTable::isMergedRow(row) && node.arriveOther != 0.0)
                mergedEntrants[mergedIndex(row)][column].push_back(index);
            if (ChartTable::laterCode(chart.code(row, column), node.doubleStands) == 's')
                continue;
            const int first = node.firstChild, count = node.childCount;
            for (int c = first; c < first + count; ++c)
                arrive(childNode(index, c), reach * children[c].probability, children[c].row == row);
        }
        byCardsLeft[cardsLeft].clear();
    }
    secondHands.addReach(sums);
}

double ChartEvaluation::gain(int row, int column, char code)
{
    const char current = chart.code(row, column);
    if (code == current)
        return 0.0;
    if (ChartTable::isMergedRow(row))
        return mergedGain(row, column, code);
    const std::array<double, CellActionCount> &cell = sums[row][column];
    return cell[actionOf(code)] - cell[actionOf(current)];
}

double ChartEvaluation::changedHit(int index, int row, char code)
{
    if (nodes[index].changedStamp == changePass)
        return nodes[index].changed;
    if (nodes[index].firstChild < 0)
        expand(index);
    const int first = nodes[index].firstChild;
    const int count = nodes[index].childCount;
    double sum = nodes[index].ended;
    for (int c = first; c < first + count; ++c) {
        double next;
        if (children[c].row != row)
            next = childValue(index, c);
        else if (ChartTable::laterCode(code, children[c].doubleStands) == 's')
            next = children[c].stand;
        else
            next = changedHit(childNode(index, c), row, code);
        sum += children[c].probability * next;
    }
    nodes[index].changed = sum;
    nodes[index].changedStamp = changePass;
    return sum;
}

double ChartEvaluation::mergedGain(int row, int column, char code)
{
    ++changePass;
    const int merged = mergedIndex(row);
    double change = 0.0;
    for (const int i : mergedEntries[merged][column]) {
        Entry &entry = entries[i];
        const double changed = code == 'h' ? changedHit(entry.node, row, code) : entryValue(entry, code);
        change += entry.reach * (changed - entry.current);
    }
    for (const int index : mergedEntrants[merged][column]) {
        const char later = ChartTable::laterCode(code, nodes[index].doubleStands);
        const double changed = later == 's' ? nodes[index].stand : changedHit(index, row, code);
        change += nodes[index].arriveOther * (changed - currentValue(index));
    }
    return change + secondHands.mergedChange(row, column, code);
}
