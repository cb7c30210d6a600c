#pragma once
#include "ChartCell.h"
#include <QDateTime>
#include <QString>
#include <optional>

// One choice the player made, as it is stored. Values are the exact
// expected results in chips of each action open at that moment. A choice
// is a mistake only when it differs from the advice and is no better than it.
struct DecisionRecord {
    // The rules text of the program's own table (RulesText's word for it).
    static QString programRules() { return QStringLiteral("program"); }

    QDateTime time;
    QString rules = programRules(); // the table played at, by its rules text
    QString handCards;  // ranks, e.g. "A,6"
    QString upCard;     // rank, e.g. "3"
    ChartCell cell;
    bool adviceAlways = true; // advice shown before acting, or only after an error
    char action = 0;    // 'h', 's', 'd', 'p', and 'r' (surrender) at a casino table
    char advice = 0;    // the tutor's code for the hand
    double stand = 0.0;
    double hit = 0.0;
    std::optional<double> doubleDown;
    std::optional<double> split;
    std::optional<double> surrender;
    double cost = 0.0;  // the advised action's value less the chosen one's, never below 0
    bool offChart = false; // not the advice, yet better for these exact cards
    bool drill = false;
    bool flash = false; // answered in the flash drill, away from the table
};
