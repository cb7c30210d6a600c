#include "ChartPlayTree.h"

template <int Lanes>
ChartPlayTree<Lanes>::ChartPlayTree(const ChartTable &chart, const std::array<int, ChartTable::columns> &columnStamp)
    : chart(chart), columnStamp(columnStamp)
{
}

template <int Lanes> double ChartPlayTree<Lanes>::dot(const Values &a, const Values &b)
{
    double sum = a[0] * b[0];
    for (int lane = 1; lane < Lanes; ++lane)
        sum += a[lane] * b[lane];
    return sum;
}

template <int Lanes> bool ChartPlayTree<Lanes>::any(const Values &values)
{
    for (const double value : values) {
        if (value != 0.0)
            return true;
    }
    return false;
}

template <int Lanes>
int ChartPlayTree<Lanes>::nodeFor(const Shoe &shoe, const PlayerHand &hand, int up, bool setAside, const Values &stand)
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

template <int Lanes> int ChartPlayTree<Lanes>::childNode(int parent, int child)
{
    if (children[child].node < 0) {
        const Node &from = nodes[parent];
        const int node = nodeFor(childShoe(from, children[child]), from.hand.plus(children[child].card), from.up,
                                 from.setAside, children[child].stand);
        children[child].node = node;
    }
    return children[child].node;
}

// A lane without the card has a chance of 0 or above for it, but no value
// other than 0 to weigh, so the sums stay exact.
template <int Lanes> typename ChartPlayTree<Lanes>::Values ChartPlayTree<Lanes>::chances(const Child &child)
{
    Values chance;
    chance.fill(child.chance);
    if (Lanes > 1)
        chance[child.card - 1] = child.chanceInOwnLane;
    return chance;
}

template <int Lanes>
template <class ChildValue>
typename ChartPlayTree<Lanes>::Values ChartPlayTree<Lanes>::drawValue(int index, ChildValue &&childValue)
{
    if (nodes[index].firstChild < 0)
        expand(index);
    const int first = nodes[index].firstChild;
    const int count = nodes[index].childCount;
    Values sum = nodes[index].ended;
    for (int c = first; c < first + count; ++c) {
        const Values value = childValue(c);
        const Values chance = chances(children[c]);
        for (int lane = 0; lane < Lanes; ++lane)
            sum[lane] += chance[lane] * value[lane];
    }
    return sum;
}

template <int Lanes> const typename ChartPlayTree<Lanes>::Values &ChartPlayTree<Lanes>::hitValue(int index)
{
    const int column = ChartTable::column(nodes[index].up);
    if (nodes[index].hitStamp == columnStamp[column])
        return nodes[index].hit;
    const Values sum = drawValue(index, [&](int child) { return childValue(index, child); });
    nodes[index].hit = sum;
    nodes[index].hitStamp = columnStamp[column];
    return nodes[index].hit;
}

template <int Lanes> typename ChartPlayTree<Lanes>::Values ChartPlayTree<Lanes>::childValue(int parent, int child)
{
    const Child &next = children[child];
    if (ChartTable::laterCode(chart.code(next.row, ChartTable::column(nodes[parent].up)), next.doubleStands) == 's')
        return next.stand;
    return hitValue(childNode(parent, child));
}

template <int Lanes> typename ChartPlayTree<Lanes>::Values ChartPlayTree<Lanes>::currentValue(int index)
{
    const Node &node = nodes[index];
    if (ChartTable::laterCode(chart.code(node.row, ChartTable::column(node.up)), node.doubleStands) == 's')
        return node.stand;
    return hitValue(index);
}

template <int Lanes> typename ChartPlayTree<Lanes>::Values ChartPlayTree<Lanes>::doubledValue(int index)
{
    if (nodes[index].firstChild < 0)
        expand(index);
    Values doubled = nodes[index].oneCard;
    for (double &value : doubled)
        value *= 2.0;
    return doubled;
}

template <int Lanes>
typename ChartPlayTree<Lanes>::Values ChartPlayTree<Lanes>::changedHit(int index, int row, char code)
{
    if (nodes[index].changedStamp == changePass)
        return nodes[index].changed;
    const Values sum = drawValue(index, [&](int child) -> Values {
        if (children[child].row != row)
            return childValue(index, child);
        if (ChartTable::laterCode(code, children[child].doubleStands) == 's')
            return children[child].stand;
        return changedHit(childNode(index, child), row, code);
    });
    nodes[index].changed = sum;
    nodes[index].changedStamp = changePass;
    return sum;
}

template <int Lanes> void ChartPlayTree<Lanes>::startReach()
{
    ++reachPass;
    for (auto &cells : mergedEntrants)
        for (std::vector<int> &list : cells)
            list.clear();
}

template <int Lanes>
void ChartPlayTree<Lanes>::arrive(int index, const Values &reach, const Values &chance, bool sameCell)
{
    Node &node = nodes[index];
    if (node.reachStamp != reachPass) {
        node.reachStamp = reachPass;
        node.arriveSame.fill(0.0);
        node.arriveOther.fill(0.0);
        byCardsLeft[node.shoe.total].push_back(index);
    }
    Values &arrived = sameCell ? node.arriveSame : node.arriveOther;
    for (int lane = 0; lane < Lanes; ++lane)
        arrived[lane] += reach[lane] * chance[lane];
}

template <int Lanes> void ChartPlayTree<Lanes>::hitFrom(int index, const Values &reach, int row)
{
    const int first = nodes[index].firstChild, count = nodes[index].childCount;
    for (int c = first; c < first + count; ++c)
        arrive(childNode(index, c), reach, chances(children[c]), children[c].row == row);
}

// A hand is reached only from hands with more cards left, so its chance is
// complete by its turn.
template <int Lanes> void ChartPlayTree<Lanes>::addReach(CellActionSums &sums)
{
    for (int cardsLeft = int(byCardsLeft.size()) - 1; cardsLeft >= 0; --cardsLeft) {
        for (std::size_t k = 0; k < byCardsLeft[cardsLeft].size(); ++k) {
            const int index = byCardsLeft[cardsLeft][k];
            const Values hit = hitValue(index);
            Values reach = nodes[index].arriveSame;
            for (int lane = 0; lane < Lanes; ++lane)
                reach[lane] += nodes[index].arriveOther[lane];
            const Node &node = nodes[index];
            const int row = node.row;
            const int column = ChartTable::column(node.up);
            std::array<double, CellActionCount> &cell = sums[row][column];
            cell[StandAction] += dot(reach, node.stand);
            cell[HitAction] += dot(reach, hit);
            cell[DoubleAction] += dot(reach, node.doubleStands ? node.stand : hit);
            if (ChartTable::isMergedRow(row) && any(node.arriveOther))
                mergedEntrants[row][column].push_back(index);
            if (ChartTable::laterCode(chart.code(row, column), node.doubleStands) != 's')
                hitFrom(index, reach, row);
        }
        byCardsLeft[cardsLeft].clear();
    }
}

template <int Lanes> double ChartPlayTree<Lanes>::entrantsChange(int row, int column, char code)
{
    double change = 0.0;
    for (const int index : mergedEntrants[row][column]) {
        const char later = ChartTable::laterCode(code, nodes[index].doubleStands);
        const Values changed = later == 's' ? nodes[index].stand : changedHit(index, row, code);
        const Values current = currentValue(index);
        for (int lane = 0; lane < Lanes; ++lane)
            change += nodes[index].arriveOther[lane] * (changed[lane] - current[lane]);
    }
    return change;
}

// A hand of its own, and a hand in a lane per original up-card.
template class ChartPlayTree<1>;
template class ChartPlayTree<10>;
