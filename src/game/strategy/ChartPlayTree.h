#pragma once
#include "ChartTable.h"
#include "FlatMap.h"
#include "HugePageAllocator.h"
#include "StrategyEngine.h"
#include <array>
#include <cstdint>
#include <vector>

// The actions a chart cell can hold, as indexes of its sums.
enum CellAction { StandAction, HitAction, DoubleAction, SplitAction, CellActionCount };
// Per chart cell: over the hands reading it, reach x value of each action.
using CellActionSums =
    std::array<std::array<std::array<double, CellActionCount>, ChartTable::columns>, ChartTable::rows>;

// The hands of two or more cards that chart play can draw to, each valued
// with every later decision read from the chart, and reached with the chance
// the chart gives them. A hand's structure, its stand value and its cards'
// are worked out once; its hit value again only when its column changed.
//
// Each hand carries `Lanes` values: one for a hand of its own, or one per
// original up-card where several deals share one hand but for a card of the
// shoe (`SplitSecondHands`); the chart reads the same cell in every lane.
// How a hand's cards are dealt is the derived class's: `expand` lists them.
template <int Lanes> class ChartPlayTree {
public:
    using Values = std::array<double, Lanes>;

    // Reads the chart and the column stamps of the evaluation it serves: a
    // hit value is kept while its column's stamp stays.
    ChartPlayTree(const ChartTable &chart, const std::array<int, ChartTable::columns> &columnStamp);
    virtual ~ChartPlayTree() = default;

protected:
    // A card that leaves the hand below 21: it reads `row` next. A card that
    // ends the hand is summed into its node's `ended`.
    struct Child {
        // The card's chance; with lanes, its chance in the lanes of other
        // values, and in the lane of its own value, which has one fewer.
        double chance;
        double chanceInOwnLane;
        Values stand; // 0 in a lane without the card
        int node;            // made when first needed
        int8_t row;
        int8_t card;
        int8_t setAside;     // cards of that rank dropped before it
        bool doubleStands : 1; // a "d" there means stand
        bool marked : 1;       // the card is of the split pair's set-aside rank
    };
    struct Node {
        Shoe shoe;
        PlayerHand hand;
        int8_t up;
        bool setAside;
        int8_t row; // read there with three or more cards
        bool doubleStands;
        Values stand;
        Values ended{}; // the cards that bust the hand or make 21
        Values oneCard{}; // one card, then stand: half a double
        Values hit{};
        Values arriveSame{}; // from a hand reading the same cell
        Values arriveOther{};
        Values changed{}; // value when the cell being tried is changed
        int firstChild = -1;
        int childCount = 0;
        int hitStamp = -1;
        int reachStamp = -1;
        int changedStamp = -1;
    };

    // Lists the node's cards: fills `ended` and `oneCard`, adds the children.
    virtual void expand(int node) = 0;
    // The shoe of the hand a child leads to.
    virtual Shoe childShoe(const Node &parent, const Child &child) const = 0;

    int nodeFor(const Shoe &shoe, const PlayerHand &hand, int up, bool setAside, const Values &stand);
    int childNode(int parent, int child);
    static Values chances(const Child &child);
    const Values &hitValue(int node);
    Values currentValue(int node);
    Values doubledValue(int node);
    // Hit at this hand, the changed cell's code played wherever its row comes back.
    Values changedHit(int node, int row, char code);
    // Starts a pass of reach, and of the changed cell's values.
    void startReach();
    void startChange() { ++changePass; }
    // The hand at `node`, reading `row`, draws with chance `reach`.
    void hitFrom(int node, const Values &reach, int row);
    // Adds the hands reached to the cells' sums, fewest cards last.
    void addReach(CellActionSums &sums);
    // The change from the hands entering a merged row's cell from another
    // row if the cell took `code`.
    double entrantsChange(int row, int column, char code);

    static double dot(const Values &a, const Values &b);
    static bool any(const Values &values);

    const ChartTable &chart;
    const std::array<int, ChartTable::columns> &columnStamp;
    std::vector<Node, HugePageAllocator<Node>> nodes;
    std::vector<Child, HugePageAllocator<Child>> children;
    FlatMap<int> nodeIndex;

private:
    template <class ChildValue> Values drawValue(int node, ChildValue &&childValue);
    Values childValue(int parent, int child);
    void arrive(int node, const Values &reach, const Values &chance, bool sameCell);

    int reachPass = 0;
    int changePass = 0;
    std::vector<std::vector<int>> byCardsLeft;
    // Hands of three or more cards entering a merged row's cell from another row.
    std::array<std::array<std::vector<int>, ChartTable::columns>, ChartTable::rows> mergedEntrants;
};
