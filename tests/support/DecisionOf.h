#pragma once
#include "DecisionRecord.h"

// A stored decision of hard 16 v 10's cards in `cell`: every value 0 but the
// choice's, which lies `cost` below, so the stored values give the cost.
inline DecisionRecord decisionOf(ChartCell cell, char action, char advice, double cost)
{
    DecisionRecord record;
    record.time = QDateTime::currentDateTimeUtc();
    record.handCards = QStringLiteral("10,6");
    record.upCard = QStringLiteral("10");
    record.cell = cell;
    record.action = action;
    record.advice = advice;
    record.doubleDown = 0.0;
    record.split = 0.0;
    if (action == 's')
        record.stand = -cost;
    else if (action == 'h')
        record.hit = -cost;
    else if (action == 'd')
        record.doubleDown = -cost;
    else
        record.split = -cost;
    record.cost = cost;
    return record;
}
