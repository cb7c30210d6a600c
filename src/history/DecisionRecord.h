#pragma once
#include "ChartCell.h"
#include <QDateTime>
#include <QString>
#include <optional>

// One choice the player made, as it is stored. Values are the exact
// expected results in chips of each action open at that moment.
struct DecisionRecord {
    QDateTime time;
    QString handCards;  // ranks, e.g. "A,6"
    QString upCard;     // rank, e.g. "3"
    ChartCell cell;
    bool adviceAlways = true; // advice shown before acting, or only after an error
    char action = 0;    // 'h', 's', 'd', 'p'
    char advice = 0;    // the tutor's code for the hand
    double stand = 0.0;
    double hit = 0.0;
    std::optional<double> doubleDown;
    std::optional<double> split;
    double cost = 0.0;  // the best value minus the chosen one
    bool drill = false;
};
