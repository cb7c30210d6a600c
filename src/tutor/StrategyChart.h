#pragma once
#include <QString>
#include <array>

// The tutor's knowledge, as read from bjdata.txt and bjstrings.txt.
// Rows are hand classes (0..27), columns the dealer's up-card 2..10, ace.
struct StrategyChart {
    std::array<std::array<QString, 10>, 28> strategyChart;
    // 21 window lines: [0] hand group, [1] advice.
    std::array<std::array<QString, 2>, 21> chartStrings;

    // Reads both files from the folder. Each file's first problem (missing,
    // too large, a row or field too many, a code other than h, s, d, p, a
    // chart row with fewer than 10 codes, or fewer than 28 chart rows) shows
    // "Error in import chart " + the file's name, the line and column, and
    // what is wrong. A row or field too many stops that file's reading,
    // keeping what was stored before it; a short row leaves its missing
    // cells empty, which the tutor answers with no advice.
    void importChart(const QString &folder);

    // One of the four codes the tutor acts on: "h", "s", "d", "p".
    static bool isActionCode(const QString &cell);
};
