#include "ChartCell.h"
#include "ChartRows.h"
#include "ChartTable.h"

ChartCell ChartCell::of(const Hand &hand, const Card &upCard)
{
    ChartCell cell;
    cell.column = upCard.isEmpty() ? -1 : ChartTable::column(cardValue(upCard));
    if (hand.count() == 2) {
        cell.row = ChartTable::twoCardRow(hand[0].rank, hand[1].rank);
        return cell;
    }
    int hardSum = 0;
    bool hasAce = false;
    for (int i = 0; i < hand.count(); ++i) {
        hardSum += cardValue(hand[i]);
        hasAce = hasAce || hand[i].rank == 1;
    }
    cell.row = ChartTable::laterRow(hardSum, hasAce);
    return cell;
}

QString ChartCell::columnName(int column)
{
    return column == 9 ? QStringLiteral("A") : QString::number(column + 2);
}

QString ChartCell::name() const
{
    return ChartRows::program().cellName(*this);
}
