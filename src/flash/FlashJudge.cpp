#include "FlashJudge.h"
#include "StrategyChart.h"
#include <cmath>

namespace {
// Rounded as the values line shows them, so the cost is the difference read there.
double shown(double chips)
{
    return std::round(chips * 10.0) / 10.0;
}
}

char FlashJudge::chartPlay(const FlashCard &card, int16_t &line) const
{
    int16_t dealerTotal = cardValue(card.upCard);
    const QString code = lookup.chartLookup(card.hand, handTotal(card.hand), dealerTotal, line);
    const char play = code.size() == 1 ? code.at(0).toLatin1() : 0;
    return card.allows(play) ? play : 0;
}

FlashVerdict FlashJudge::judge(const FlashCard &card, char answer, const ActionOdds &odds) const
{
    FlashVerdict verdict;
    verdict.answer = answer;
    verdict.chartPlay = chartPlay(card, verdict.chartLine);
    verdict.odds = odds;
    return verdict;
}

QString FlashJudge::actionName(char action)
{
    switch (action) {
    case 'h': return QStringLiteral("Hit");
    case 's': return QStringLiteral("Stand");
    case 'd': return QStringLiteral("Double");
    case 'p': return QStringLiteral("Split");
    default: return QString();
    }
}

QString FlashJudge::lineText(int16_t line) const
{
    if (line < 0 || line >= static_cast<int16_t>(chart.chartStrings.size()))
        return QString();
    const auto &words = chart.chartStrings[static_cast<std::size_t>(line)];
    return words[0].trimmed() + QStringLiteral(": ") + words[1].trimmed();
}

QString FlashJudge::costText(const FlashVerdict &verdict)
{
    const std::optional<double> chosen = verdict.valueOf(verdict.answer);
    const std::optional<double> charted = verdict.valueOf(verdict.chartPlay);
    if (verdict.right() || !chosen || !charted)
        return QString();
    const QString answer = actionName(verdict.answer);
    const QString play = actionName(verdict.chartPlay);
    const double cost = shown(*charted) - shown(*chosen);
    if (cost >= 0.05)
        return QStringLiteral("%1 loses %2 chips more than %3 on a %4 stake").arg(answer).arg(cost, 0, 'f', 1).arg(play).arg(stake);
    // The chart is one rule for every hand of the cell; these exact cards
    // may favour another play a little.
    if (cost <= -0.05)
        return QStringLiteral("On these exact cards %1 wins %2 chips more than %3 on a %4 stake, but the chart plays %3 for the cell")
            .arg(answer).arg(-cost, 0, 'f', 1).arg(play).arg(stake);
    return QStringLiteral("On these exact cards %1 and %2 are worth the same on a %3 stake, but the chart plays %2 for the cell")
        .arg(answer, play).arg(stake);
}
