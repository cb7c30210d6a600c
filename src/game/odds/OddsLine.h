#pragma once
#include "LiveOdds.h"
#include <QString>

// The strategy window's odds line: each action open to the player in chips,
// e.g. "Stand -13.6  Hit -12.7  Double -25.3". A stopped choice (its chart
// code "h", "s" or "d") is followed by what it gives up against the best
// figure shown: "  (Stand costs 13.2)".
class OddsLine {
public:
    static QString text(const ActionOdds &odds, const QString &stoppedChoice = QString());
};
