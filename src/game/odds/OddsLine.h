#pragma once
#include "LiveOdds.h"
#include <QString>

// The strategy window's odds line: each action open to the player in chips,
// with its unit, e.g. "Stand -13.6  Hit -12.7  Double -25.3 in chips on your
// 25 stake", with Split, Surrender and Insurance where they are open. A
// stopped choice (its chart code "h", "s", "d", "p", "r", or "i" for taking
// insurance) is followed by what it gives up against the chart's advice:
// "  (Stand costs 13.2)". When
// the exact values for these very cards favour another play than the chart's
// line, a second line says by how much: the chart plays a hand by its total
// (or its pair), not by the cards that are out.
class OddsLine {
public:
    static QString text(const ActionOdds &odds, int stake, const QString &chartAdvice,
                        const QString &stoppedChoice = QString());
};
