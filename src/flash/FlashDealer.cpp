#include "FlashDealer.h"
#include "ChartTable.h"
#include "DealerOutcomes.h"
#include "DrillPlan.h"
#include <algorithm>
#include <array>

namespace {
using RankCounts = std::array<int, 14>; // by rank 1..13

struct Candidate {
    double chance = 0.0; // of the shoe dealing exactly these ranks in this order
    std::array<int8_t, 4> ranks{};
    int cards = 0;
};

int value(int rank)
{
    return std::min(rank, 10);
}

// Every deal of ranks from `left` that makes `row`: two cards, or, when
// `drawn`, three or four with every total on the way below 21.
struct HandSearch {
    RankCounts left;
    int cardsLeft;
    int row;
    bool drawn;
    std::vector<Candidate> found;
    Candidate hand;

    void extend(double chance, int hardSum, bool hasAce)
    {
        const int depth = hand.cards;
        if (depth == 2 && !drawn) {
            if (ChartTable::twoCardRow(hand.ranks[0], hand.ranks[1]) == row)
                found.push_back({chance, hand.ranks, depth});
            return;
        }
        if (depth >= 3 && ChartTable::laterRow(hardSum, hasAce) == row)
            found.push_back({chance, hand.ranks, depth});
        if (depth == 4 || (depth >= 2 && bestTotal(hardSum, hasAce) >= 21))
            return;
        for (int rank = 1; rank <= 13; ++rank) {
            if (left[rank] == 0)
                continue;
            const double next = chance * left[rank] / cardsLeft;
            --left[rank];
            --cardsLeft;
            hand.ranks[depth] = static_cast<int8_t>(rank);
            ++hand.cards;
            extend(next, hardSum + value(rank), hasAce || rank == 1);
            --hand.cards;
            ++cardsLeft;
            ++left[rank];
        }
    }
};
}

ChartCell FlashDealer::pickCell(const std::vector<ChartCell> &cells, const LeitnerBoxes &boxes)
{
    double total = 0.0;
    for (const ChartCell &cell : cells)
        total += LeitnerBoxes::weight(boxes.box(cell));
    double point = random.next() * total;
    for (const ChartCell &cell : cells) {
        point -= LeitnerBoxes::weight(boxes.box(cell));
        if (point < 0.0)
            return cell;
    }
    return cells.empty() ? ChartCell{} : cells.back();
}

FlashCard FlashDealer::deal(const ChartCell &cell)
{
    FlashCard card;
    if (!cell.isValid())
        return card;
    std::array<int, 52> copies;
    copies.fill(decks);
    // A card of the rank, of any suit still in the shoe.
    auto take = [&](int rank) {
        int index = (rank - 1) * 4;
        int point = DrillPlan::pick(random, copies[index] + copies[index + 1] + copies[index + 2] + copies[index + 3]);
        while (point >= copies[index])
            point -= copies[index++];
        --copies[index];
        return Card::fromIndex(index);
    };

    std::vector<int> upRanks;
    for (int rank = 1; rank <= 13; ++rank)
        if (ChartTable::column(value(rank)) == cell.column)
            upRanks.push_back(rank);
    // A ten-value column takes a ten, jack, queen or king alike.
    card.upCard = take(upRanks[DrillPlan::pick(random, static_cast<int>(upRanks.size()))]);

    HandSearch search;
    search.left.fill(4 * decks);
    --search.left[card.upCard.rank];
    search.cardsLeft = 52 * decks - 1;
    search.row = cell.row;
    search.drawn = !ChartTable::isPairRow(cell.row) && DrillPlan::pick(random, drawnHandOneIn) == 0;
    search.extend(1.0, 0, false);
    if (search.found.empty() && search.drawn) {
        search.drawn = false;
        search.extend(1.0, 0, false);
    }
    double total = 0.0;
    for (const Candidate &candidate : search.found)
        total += candidate.chance;
    double point = random.next() * total;
    const Candidate *chosen = search.found.empty() ? nullptr : &search.found.back();
    for (const Candidate &candidate : search.found) {
        point -= candidate.chance;
        if (point < 0.0) {
            chosen = &candidate;
            break;
        }
    }
    if (!chosen)
        return FlashCard{};
    for (int i = 0; i < chosen->cards; ++i)
        card.hand.add(take(chosen->ranks[i]));
    card.cell = cell;
    return card;
}
