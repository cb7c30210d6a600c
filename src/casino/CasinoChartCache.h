#pragma once
#include "CasinoChart.h"
#include "GameRules.h"
#include <QString>

// A casino table's chart, derived once per rules text and kept in the data
// folder (charts/, one file per table): a file written for other rules, or
// one that does not read as a chart, is derived again and replaced.
class CasinoChartCache {
public:
    // The folder is the program's data folder unless given.
    explicit CasinoChartCache(const QString &folder = QString());

    CasinoChart chartFor(const GameRules &rules);
    QString fileFor(const GameRules &rules) const;
    // Whether the last chartFor() derived the chart rather than read it.
    bool derived() const { return lastDerived; }

private:
    QString folder;
    bool lastDerived = false;
};
