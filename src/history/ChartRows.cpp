#include "ChartRows.h"
#include "CasinoChart.h"
#include "ChartTable.h"
#include "DecisionRecord.h"

ChartRows ChartRows::forTable(const QString &rulesText)
{
    return ChartRows(rulesText != DecisionRecord::programRules());
}

int ChartRows::count() const
{
    return casinoRows ? CasinoChart::rows : ChartTable::rows;
}

QString ChartRows::label(int row) const
{
    return QLatin1String(casinoRows ? CasinoChart::rowLabel(row) : ChartTable::rowLabel(row));
}

QString ChartRows::name(int row) const
{
    const int firstSoft = softRow(13), firstPair = pairRow(1);
    if (row >= firstPair) {
        const int value = row == firstPair ? 1 : row - pairRow(2) + 2;
        return value == 1 ? QStringLiteral("pair of aces")
             : value == 10 ? QStringLiteral("pair of tens")
                           : QStringLiteral("pair of %1s").arg(value);
    }
    if (row >= firstSoft)
        return QStringLiteral("soft %1").arg(row - firstSoft + 13);
    // A hard row covering several totals is named by its range, as labelled.
    return QStringLiteral("hard ") + label(row).mid(1);
}

QString ChartRows::cellName(const ChartCell &cell) const
{
    return name(cell.row) + QStringLiteral(" v ") + ChartCell::columnName(cell.column);
}

ChartCell ChartRows::cellOf(const Hand &hand, const Card &upCard, bool maySplit) const
{
    if (!casinoRows)
        return ChartCell::of(hand, upCard);
    ChartCell cell;
    cell.column = upCard.isEmpty() ? -1 : CasinoChart::column(cardValue(upCard));
    int hardSum = 0;
    bool hasAce = false;
    for (int i = 0; i < hand.count(); ++i) {
        hardSum += cardValue(hand[i]);
        hasAce = hasAce || hand[i].rank == 1;
    }
    if (maySplit && hand.count() == 2 && cardValue(hand[0]) == cardValue(hand[1])) {
        cell.row = pairRow(cardValue(hand[0]));
        return cell;
    }
    const bool soft = hasAce && hardSum + 10 <= 21;
    cell.row = CasinoChart::totalRow(soft ? hardSum + 10 : hardSum, soft);
    return cell;
}

int ChartRows::twoCardRow(int rank1, int rank2) const
{
    if (!casinoRows)
        return ChartTable::twoCardRow(rank1, rank2);
    Hand hand;
    hand.add(Card::fromIndex((rank1 - 1) * 4));
    hand.add(Card::fromIndex((rank2 - 1) * 4 + 1));
    return cellOf(hand, Card::fromIndex(0), true).row;
}

int ChartRows::hardRow(int total) const
{
    return casinoRows ? CasinoChart::totalRow(total, false) : ChartTable::hardRow(total);
}

int ChartRows::softRow(int total) const
{
    return casinoRows ? CasinoChart::totalRow(total, true) : total - 3;
}

int ChartRows::pairRow(int value) const
{
    if (casinoRows)
        return CasinoChart::pairRow(value);
    return value == 1 ? 18 : 17 + value;
}
