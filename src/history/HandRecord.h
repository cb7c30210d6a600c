#pragma once
#include "DecisionRecord.h"
#include <QDateTime>

// One settled hand: what it moved the bank by, and the bank after it.
struct HandRecord {
    QDateTime time;
    double amount = 0.0; // chips: positive won, negative lost, zero a push; halves at a casino table
    double bankAfter = 0.0;
    bool drill = false;
    QString rules = DecisionRecord::programRules(); // the table played at
};
