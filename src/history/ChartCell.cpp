#include "ChartCell.h"
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

QString ChartCell::rowName(int row)
{
    if (row == 0)
        return QStringLiteral("hard 3-8");
    if (row <= 8)
        return QStringLiteral("hard %1").arg(row + 8);
    if (row == 9)
        return QStringLiteral("hard 17-20");
    if (row <= 17)
        return QStringLiteral("soft %1").arg(row + 3);
    if (row == 18)
        return QStringLiteral("pair of aces");
    if (row == 27)
        return QStringLiteral("pair of tens");
    return QStringLiteral("pair of %1s").arg(row - 17);
}

QString ChartCell::columnName(int column)
{
    return column == 9 ? QStringLiteral("A") : QString::number(column + 2);
}

QString ChartCell::name() const
{
    return rowName(row) + QStringLiteral(" v ") + columnName(column);
}
