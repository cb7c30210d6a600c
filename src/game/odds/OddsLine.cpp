#include "OddsLine.h"
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {
struct Figure {
    const char *name;
    const char *code;
    double chips; // rounded as shown, so the cost is the difference the player reads
};

double shown(double chips)
{
    return std::round(chips * 10.0) / 10.0;
}

QString chipsText(double chips)
{
    return QString::number(chips, 'f', 1);
}
}

QString OddsLine::text(const ActionOdds &odds, const QString &stoppedChoice)
{
    std::vector<Figure> figures{{"Stand", "s", shown(odds.stand)}, {"Hit", "h", shown(odds.hit)}};
    if (odds.doubleDown)
        figures.push_back({"Double", "d", shown(*odds.doubleDown)});
    if (odds.split)
        figures.push_back({"Split", "p", shown(*odds.split)});

    QStringList parts;
    double best = figures.front().chips;
    for (const Figure &figure : figures) {
        parts << QLatin1String(figure.name) + QLatin1Char(' ') + chipsText(figure.chips);
        best = std::max(best, figure.chips);
    }
    QString line = parts.join(QStringLiteral("  "));
    for (const Figure &figure : figures) {
        if (stoppedChoice == QLatin1String(figure.code))
            line += QStringLiteral("  (%1 costs %2)").arg(QLatin1String(figure.name), chipsText(best - figure.chips));
    }
    return line;
}
