#pragma once
#include <QDateTime>

// One settled hand: what it moved the bank by, and the bank after it.
struct HandRecord {
    QDateTime time;
    int amount = 0; // positive won, negative lost, zero a push
    int bankAfter = 0;
    bool drill = false;
};
