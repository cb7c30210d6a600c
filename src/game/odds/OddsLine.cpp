#include "OddsLine.h"
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {
struct Figure {
    const char *name;
    const char *code;
    double chips; // rounded as shown, so every difference is one the player can read
};

double shown(double chips)
{
    return std::round(chips * 10.0) / 10.0;
}

QString chipsText(double chips)
{
    return QString::number(chips, 'f', 1);
}

const Figure *withCode(const std::vector<Figure> &figures, const QString &code)
{
    const auto found = std::find_if(figures.begin(), figures.end(),
                                    [&code](const Figure &figure) { return code == QLatin1String(figure.code); });
    return found == figures.end() ? nullptr : &*found;
}
}

QString OddsLine::text(const ActionOdds &odds, int stake, const QString &chartAdvice, const QString &stoppedChoice)
{
    std::vector<Figure> figures{{"Stand", "s", shown(odds.stand)}, {"Hit", "h", shown(odds.hit)}};
    if (odds.doubleDown)
        figures.push_back({"Double", "d", shown(*odds.doubleDown)});
    if (odds.split)
        figures.push_back({"Split", "p", shown(*odds.split)});
    if (odds.surrender)
        figures.push_back({"Surrender", "r", shown(*odds.surrender)});

    QStringList parts;
    const Figure *best = &figures.front();
    for (const Figure &figure : figures) {
        parts << QLatin1String(figure.name) + QLatin1Char(' ') + chipsText(figure.chips);
        if (figure.chips > best->chips)
            best = &figure;
    }
    // Insurance is a bet beside the hand: against declining it, not against the hand's plays.
    if (odds.insurance)
        parts << QStringLiteral("Insurance ") + chipsText(shown(*odds.insurance));
    QString line = parts.join(QStringLiteral("  ")) + QStringLiteral(" in chips on your %1 stake").arg(stake);
    if (odds.insurance && stoppedChoice == QLatin1String("i") && shown(*odds.insurance) < 0.0)
        line += QStringLiteral("  (Insurance costs %1)").arg(chipsText(-shown(*odds.insurance)));

    // A choice is measured against the advice it left; with no figure for
    // the advice (a double no longer open), against the best one shown.
    const Figure *advised = withCode(figures, chartAdvice);
    const Figure *measure = advised ? advised : best;
    if (const Figure *stopped = withCode(figures, stoppedChoice)) {
        const double cost = measure->chips - stopped->chips;
        if (cost > 0.0)
            line += QStringLiteral("  (%1 costs %2)").arg(QLatin1String(stopped->name), chipsText(cost));
    }
    if (advised && best->chips > advised->chips) {
        line += QStringLiteral("\nFor these exact cards %1 is %2 chips better; the chart plays the %3")
                    .arg(QLatin1String(best->name), chipsText(best->chips - advised->chips),
                         chartAdvice == QLatin1String("p") ? QStringLiteral("pair") : QStringLiteral("total"));
    }
    return line;
}
