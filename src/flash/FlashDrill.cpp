#include "FlashDrill.h"
#include "ChartTable.h"
#include "DecisionValues.h"
#include "HistoryDatabase.h"
#include "HistoryStatistics.h"
#include "StrategyChart.h"
#include <algorithm>

FlashDrill::FlashDrill(const FlashTable &table, HistoryDatabase &record, RandomSource &random)
    : chart(*table.chart), history(record), dealer(table, random), judging(*table.chart)
{
}

void FlashDrill::choose(FlashChoice::Kind chosen)
{
    kind = chosen;
    const HistoryStatistics statistics =
        kind == FlashChoice::WeakSpots ? HistoryStatistics::load(history.connection(), history.sessionId()) : HistoryStatistics();
    cells.clear();
    // Only cells the chart answers with a play their hands can make: a split
    // only on a pair row.
    for (const ChartCell &cell : FlashChoice::cells(kind, statistics)) {
        const QString &code = chart.strategyChart[static_cast<std::size_t>(cell.row)][static_cast<std::size_t>(cell.column)];
        const QString plays = ChartTable::isPairRow(cell.row) ? QStringLiteral("hsdp") : QStringLiteral("hsd");
        if (code.size() == 1 && plays.contains(code))
            cells.push_back(cell);
    }
    boxes.load(history.connection());
    awaiting = false;
}

const FlashCard &FlashDrill::deal()
{
    current = dealer.next(cells, boxes);
    awaiting = current.cell.isValid();
    if (awaiting) {
        LiveOdds::Situation situation;
        situation.playerHand = current.hand;
        situation.upCard = current.upCard;
        situation.stake = FlashJudge::stake;
        currentOdds = liveOdds.compute(situation);
    }
    return current;
}

std::optional<FlashVerdict> FlashDrill::answer(char action, double seconds)
{
    if (!awaiting || !current.allows(action))
        return std::nullopt;
    awaiting = false;
    const FlashVerdict verdict = judging.judge(current, action, currentOdds);
    currentStreak = verdict.right() ? currentStreak + 1 : 0;
    right += verdict.right();
    times.push_back(seconds);
    boxes.answered(current.cell, verdict.right());
    record(verdict);
    return verdict;
}

void FlashDrill::record(const FlashVerdict &verdict)
{
    if (!history.isRecording())
        return;
    DecisionValues::Decision decision;
    decision.situation.playerHand = current.hand;
    decision.situation.upCard = current.upCard;
    decision.situation.stake = FlashJudge::stake;
    decision.odds = verdict.odds;
    decision.action = verdict.answer;
    decision.advice = verdict.chartPlay;
    decision.adviceAlways = false; // the chart's play is shown only after the answer
    decision.canDouble = current.allows('d');
    decision.canSplit = current.allows('p');
    std::optional<DecisionRecord> row = DecisionValues::record(decision, DecisionRecord::programRules());
    if (!row)
        return;
    row->flash = true;
    if (history.writeRound({*row}, {}))
        boxes.store(history.connection(), current.cell);
}

double FlashDrill::medianSeconds() const
{
    if (times.empty())
        return 0.0;
    std::vector<double> sorted = times;
    const std::size_t middle = sorted.size() / 2;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(middle), sorted.end());
    if (sorted.size() % 2)
        return sorted[middle];
    const double upper = sorted[middle];
    return (upper + *std::max_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(middle))) / 2.0;
}
