#include "HistoryStatistics.h"
#include "RulesText.h"
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {
// Every column of a sum must hold a number of the right kind; a text or NULL
// read as 0 would show as a real cell.
bool wholeNumber(const QVariant &value)
{
    return !value.isNull() && (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int);
}

bool number(const QVariant &value)
{
    return wholeNumber(value) || (!value.isNull() && value.typeId() == QMetaType::Double);
}

// The tally in columns first .. first + 3, when it is one real play can give.
std::optional<HistoryStatistics::Tally> tallyAt(const QSqlQuery &query, int first)
{
    for (int i = first; i < first + 3; ++i)
        if (!wholeNumber(query.value(i)))
            return std::nullopt;
    if (!number(query.value(first + 3)))
        return std::nullopt;
    const qint64 decisions = query.value(first).toLongLong();
    const qint64 mistakes = query.value(first + 1).toLongLong();
    const qint64 offChart = query.value(first + 2).toLongLong();
    const double cost = query.value(first + 3).toDouble();
    if (decisions < 1 || decisions > std::numeric_limits<int>::max() || mistakes < 0 || offChart < 0
        || mistakes + offChart > decisions || !std::isfinite(cost) || cost < 0.0
        || cost > HistoryStatistics::largestCost * double(decisions))
        return std::nullopt;
    return HistoryStatistics::Tally{int(decisions), int(mistakes), int(offChart), cost};
}

std::optional<ChartCell> cellAt(const QSqlQuery &query, int first, const ChartRows &rows)
{
    if (!wholeNumber(query.value(first)) || !wholeNumber(query.value(first + 1)))
        return std::nullopt;
    const ChartCell at{query.value(first).toInt(), query.value(first + 1).toInt()};
    if (at.row < 0 || at.row >= rows.count() || at.column < 0 || at.column >= 10)
        return std::nullopt;
    return at;
}

bool namesATable(const QVariant &rules)
{
    return rules.typeId() == QMetaType::QString && RulesText::parse(rules.toString().toStdString()).has_value();
}
}

HistoryStatistics::Tally &HistoryStatistics::Tally::operator+=(const Tally &other)
{
    decisions += other.decisions;
    mistakes += other.mistakes;
    offChart += other.offChart;
    cost += other.cost;
    return *this;
}

std::vector<QString> HistoryStatistics::tables(const QSqlDatabase &db)
{
    std::vector<QString> found;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (db.isOpen() && query.exec(QStringLiteral("SELECT rules FROM session_totals GROUP BY rules"
                                              " ORDER BY rules <> 'program', min(session), rules")))
        while (query.next())
            if (namesATable(query.value(0)))
                found.push_back(query.value(0).toString());
    return found;
}

HistoryStatistics HistoryStatistics::load(const QSqlDatabase &db, qint64 session, bool includeFlash, const QString &table)
{
    HistoryStatistics stats;
    stats.table = table;
    stats.rows = ChartRows::forTable(table);
    if (!db.isOpen())
        return stats;
    QSqlQuery query(db);
    query.setForwardOnly(true);

    // The sums hold every decision and, apart, the flash drill's answers; the
    // table's alone are the difference. A sum left with nothing is no row.
    const QString sessionSums = includeFlash
        ? QStringLiteral("SELECT session, decisions, mistakes, off_chart, cost FROM session_totals WHERE rules = ?"
                         " ORDER BY session")
        : QStringLiteral("SELECT t.session, t.decisions - coalesce(f.decisions, 0), t.mistakes - coalesce(f.mistakes, 0),"
                         " t.off_chart - coalesce(f.off_chart, 0), max(t.cost - coalesce(f.cost, 0), 0.0)"
                         " FROM session_totals t LEFT JOIN flash_session_totals f USING (rules, session)"
                         " WHERE t.rules = ? AND t.decisions IS NOT coalesce(f.decisions, 0) ORDER BY t.session");
    query.prepare(sessionSums);
    query.addBindValue(table);
    if (query.exec()) {
        while (query.next()) {
            const std::optional<Tally> tally = tallyAt(query, 1);
            if (!tally || !wholeNumber(query.value(0))) {
                ++stats.damagedRows;
                continue;
            }
            const Session point{query.value(0).toLongLong(), *tally};
            stats.sessions.push_back(point);
            stats.allTime += point.tally;
            if (point.id == session)
                stats.thisSession = point.tally;
        }
    }
    // The commonest wrong action of a cell is the one with the most mistakes;
    // a tie goes to the code first in the alphabet, whatever order the sums
    // were stored in.
    std::array<int, std::tuple_size<decltype(stats.cells)>::value> wrongTimes{};
    const QString cellSums = includeFlash
        ? QStringLiteral("SELECT chart_row, chart_column, action, decisions, mistakes, off_chart, cost FROM cell_totals"
                         " WHERE rules = ?")
        : QStringLiteral("SELECT t.chart_row, t.chart_column, t.action, t.decisions - coalesce(f.decisions, 0),"
                         " t.mistakes - coalesce(f.mistakes, 0), t.off_chart - coalesce(f.off_chart, 0),"
                         " max(t.cost - coalesce(f.cost, 0), 0.0) FROM cell_totals t"
                         " LEFT JOIN flash_cell_totals f USING (rules, chart_row, chart_column, action)"
                         " WHERE t.rules = ? AND t.decisions IS NOT coalesce(f.decisions, 0)");
    // Surrender is a casino table's alone.
    const QString actions = stats.rows.isCasino() ? QStringLiteral("dhprs") : QStringLiteral("dhps");
    query.prepare(cellSums);
    query.addBindValue(table);
    if (query.exec()) {
        while (query.next()) {
            const std::optional<ChartCell> at = cellAt(query, 0, stats.rows);
            const std::optional<Tally> tally = tallyAt(query, 3);
            const QString action = query.value(2).toString();
            if (!at || !tally || action.size() != 1 || !actions.contains(action)) {
                ++stats.damagedRows;
                continue;
            }
            Cell &cell = stats.cells[at->index()];
            cell.tally += *tally;
            const char code = action.at(0).toLatin1();
            int &most = wrongTimes[at->index()];
            if (tally->mistakes > most || (tally->mistakes == most && most > 0 && code < cell.commonestWrong)) {
                most = tally->mistakes;
                cell.commonestWrong = code;
            }
        }
    }
    if (query.exec(QStringLiteral("SELECT count(*) FROM damaged_decisions")) && query.next())
        stats.damagedRows += query.value(0).toInt();
    if (query.exec(QStringLiteral("SELECT rules, count(*) FROM (SELECT rules FROM session_totals"
                                  " UNION ALL SELECT rules FROM cell_totals) GROUP BY rules")))
        while (query.next())
            if (!namesATable(query.value(0)))
                stats.damagedRows += query.value(1).toInt();
    return stats;
}

std::vector<ChartCell> HistoryStatistics::costliest(std::size_t count, int leastDecisions) const
{
    std::vector<ChartCell> losing;
    for (int row = 0; row < rows.count(); ++row)
        for (int column = 0; column < 10; ++column) {
            const Tally &tally = cells[row * 10 + column].tally;
            if (tally.cost > 1e-9 && tally.decisions >= leastDecisions)
                losing.push_back({row, column});
        }
    std::stable_sort(losing.begin(), losing.end(), [this](const ChartCell &a, const ChartCell &b) {
        return cell(a).costPer100() > cell(b).costPer100();
    });
    if (losing.size() > count)
        losing.resize(count);
    return losing;
}
