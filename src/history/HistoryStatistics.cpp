#include "HistoryStatistics.h"
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

namespace {
const QString tallyColumns = QStringLiteral("count(*), total(action = advice), total(cost)");

HistoryStatistics::Tally tallyAt(const QSqlQuery &query, int first)
{
    return {query.value(first).toInt(), query.value(first + 1).toInt(), query.value(first + 2).toDouble()};
}
}

HistoryStatistics HistoryStatistics::load(const QSqlDatabase &db, qint64 session)
{
    HistoryStatistics stats;
    if (!db.isOpen())
        return stats;
    QSqlQuery query(db);
    query.setForwardOnly(true);

    if (query.exec(QStringLiteral("SELECT session, %1 FROM decisions GROUP BY session ORDER BY session").arg(tallyColumns))) {
        while (query.next()) {
            const Session point{query.value(0).toLongLong(), tallyAt(query, 1)};
            stats.sessions.push_back(point);
            stats.allTime.decisions += point.tally.decisions;
            stats.allTime.matched += point.tally.matched;
            stats.allTime.cost += point.tally.cost;
            if (point.id == session)
                stats.thisSession = point.tally;
        }
    }
    if (query.exec(QStringLiteral("SELECT chart_row, chart_column, %1 FROM decisions GROUP BY chart_row, chart_column")
                       .arg(tallyColumns))) {
        while (query.next()) {
            const ChartCell at{query.value(0).toInt(), query.value(1).toInt()};
            if (at.row >= 0 && at.row < 28 && at.column >= 0 && at.column < 10)
                stats.cells[at.index()].tally = tallyAt(query, 2);
        }
    }
    // The last row of each cell is its commonest wrong action; a tie goes to
    // the code first in the alphabet, whatever order the rows were stored in.
    if (query.exec(QStringLiteral("SELECT chart_row, chart_column, action, count(*) AS times FROM decisions"
                                  " WHERE action <> advice GROUP BY chart_row, chart_column, action"
                                  " ORDER BY chart_row, chart_column, times, action DESC"))) {
        while (query.next()) {
            const ChartCell at{query.value(0).toInt(), query.value(1).toInt()};
            if (at.row >= 0 && at.row < 28 && at.column >= 0 && at.column < 10)
                stats.cells[at.index()].commonestWrong = query.value(2).toString().toLatin1().at(0);
        }
    }
    return stats;
}

std::vector<ChartCell> HistoryStatistics::costliest(std::size_t count) const
{
    std::vector<ChartCell> losing;
    for (int row = 0; row < 28; ++row)
        for (int column = 0; column < 10; ++column)
            if (cells[row * 10 + column].tally.cost > 1e-9)
                losing.push_back({row, column});
    std::stable_sort(losing.begin(), losing.end(), [this](const ChartCell &a, const ChartCell &b) {
        return cell(a).costPer100() > cell(b).costPer100();
    });
    if (losing.size() > count)
        losing.resize(count);
    return losing;
}
