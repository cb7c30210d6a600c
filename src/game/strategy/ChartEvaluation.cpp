#include "ChartEvaluation.h"

ChartEvaluation::ChartEvaluation(StrategyEngine &engine)
    : ChartPlayTree(chart, columnStamp), engine(engine), secondHands(engine, chart, columnStamp)
{
    // Besides the splits' second hands, a single-deck chart meets about
    // 35,000 hands with 250,000 cards that lead on, and 500,000 dealer
    // outcomes: grown by doubling, the tables would be copied over and over.
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

void ChartEvaluation::expand(int index)
{
    const Node node = nodes[index];
    StrategyEngine::Draws draws(node.shoe, node.setAside);
    engine.prepareStands(node.hand, node.up, draws);
    const int first = int(children.size());
    double ended = 0.0, oneCard = 0.0;
    for (const StrategyEngine::Draws::Draw &draw : draws) {
        const auto &[probability, card, after, marked] = draw;
        const PlayerHand next = node.hand.plus(card);
        const int total = next.total();
        const double stand = total > 21 ? engine.bustRaw(node.up, after) : engine.drawnStandRaw(draws, draw, next);
        oneCard += probability * stand;
        if (total >= 21) {
            ended += probability * stand;
        } else {
            Child child{};
            child.chance = probability;
            child.stand = {stand};
            child.node = -1;
            child.row = int8_t(ChartTable::laterRow(next.hardSum, next.hasAce));
            child.doubleStands = ChartTable::withoutDouble(total, total != next.hardSum) == 's';
            child.card = int8_t(card);
            child.marked = marked;
            child.setAside = int8_t(node.shoe.total - after.total - 1);
            children.push_back(child);
        }
    }
    nodes[index].ended = {ended};
    nodes[index].oneCard = {oneCard};
    nodes[index].firstChild = first;
    nodes[index].childCount = int(children.size()) - first;
}

Shoe ChartEvaluation::childShoe(const Node &parent, const Child &child) const
{
    Shoe after = parent.shoe;
    for (int aside = 0; aside < child.setAside; ++aside)
        after.removeMarked();
    if (child.marked)
        after.removeMarked();
    else
        after.remove(child.card);
    return after;
}

char ChartEvaluation::entryCode(const Entry &entry) const
{
    return entry.row < 0 ? 's' : chart.code(entry.row, ChartTable::column(entry.up));
}

double ChartEvaluation::entryValue(const Entry &entry, char code)
{
    switch (entry.row < 0 ? 's' : code) {
    case 'h':
        return hitValue(entry.node)[0];
    case 'd':
        return doubledValue(entry.node)[0];
    case 'p':
        // Split refused (a split hand's pair): the player draws instead.
        return entry.split >= 0 ? entry.splitValue : hitValue(entry.node)[0];
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
    entry.node = entry.row < 0 ? -1 : nodeFor(shoe, hand, up, setAside, {entry.stand});
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

void ChartEvaluation::reachHands()
{
    startReach();
    for (auto &cells : sums)
        for (auto &cell : cells)
            cell.fill(0.0);
    for (auto &cells : mergedEntries)
        for (std::vector<int> &list : cells)
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
        cell[HitAction] += entry.reach * hitValue(entry.node)[0];
        cell[DoubleAction] += entry.reach * entryValue(entry, 'd');
        if (ChartTable::isPairRow(entry.row))
            cell[SplitAction] += entry.reach * entryValue(entry, 'p');
        if (ChartTable::isMergedRow(entry.row))
            mergedEntries[entry.row][column].push_back(int(i));
        if (code == 'p' && entry.split >= 0) {
            for (int s = entry.split; s < entry.split + entry.splitCount; ++s)
                entries[s].reach = entry.reach * entries[s].probability;
            secondHands.reachSplit(entry.secondHands, entry.reach);
        } else if (code == 'h' || code == 'p') {
            hitFrom(entry.node, {entry.reach}, entry.row);
        }
    }
    addReach(sums);
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

double ChartEvaluation::mergedGain(int row, int column, char code)
{
    startChange();
    double change = 0.0;
    for (const int i : mergedEntries[row][column]) {
        const Entry &entry = entries[i];
        const double changed = code == 'h' ? changedHit(entry.node, row, code)[0] : entryValue(entry, code);
        change += entry.reach * (changed - entry.current);
    }
    return change + entrantsChange(row, column, code) + secondHands.mergedChange(row, column, code);
}
