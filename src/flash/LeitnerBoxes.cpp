#include "LeitnerBoxes.h"
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

void LeitnerBoxes::setBox(const ChartCell &cell, int box)
{
    boxes[static_cast<std::size_t>(cell.index())] = static_cast<uint8_t>(std::clamp(box, 1, lastBox));
}

void LeitnerBoxes::answered(const ChartCell &cell, bool right)
{
    setBox(cell, right ? box(cell) + 1 : 1);
}

int LeitnerBoxes::inFirstBox(const std::vector<ChartCell> &cells) const
{
    return static_cast<int>(std::count_if(cells.begin(), cells.end(), [this](const ChartCell &cell) { return box(cell) == 1; }));
}

void LeitnerBoxes::load(const QSqlDatabase &db)
{
    boxes = filled();
    if (!db.isOpen())
        return;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT chart_row, chart_column, box FROM flash_boxes")))
        return;
    while (query.next()) {
        const ChartCell cell{query.value(0).toInt(), query.value(1).toInt()};
        if (cell.row >= 0 && cell.row < 28 && cell.column >= 0 && cell.column < 10)
            setBox(cell, query.value(2).toInt());
    }
}

bool LeitnerBoxes::store(const QSqlDatabase &db, const ChartCell &cell) const
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO flash_boxes (chart_row, chart_column, box) VALUES (?, ?, ?)"));
    query.addBindValue(cell.row);
    query.addBindValue(cell.column);
    query.addBindValue(box(cell));
    return query.exec();
}
