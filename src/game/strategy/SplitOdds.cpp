#include "SplitOdds.h"
#include "SplitOddsTable.h"
#include <cstdio>

double SplitOdds::value(int pairValue, int upValue, int rankLeft)
{
    return splitValues[pairValue - 1][upValue - 1][rankLeft - 1];
}

std::string SplitOdds::tableText(StrategyEngine &engine)
{
    std::string text = "// Written by derive_chart --write-source-chart from the exact engine.\n"
                       "// [pair value - 1][up-card value - 1][cards of the pair's rank unseen - 1];\n"
                       "// 0 where the deal is impossible.\n"
                       "#pragma once\n\n"
                       "constexpr double splitValues[10][10][2] = {\n";
    for (int pairValue = 1; pairValue <= 10; ++pairValue) {
        text += "    {";
        for (int upValue = 1; upValue <= 10; ++upValue) {
            Shoe shoe = Shoe::fullDeck();
            shoe.remove(upValue);
            shoe.remove(pairValue);
            shoe.remove(pairValue);
            text += upValue > 1 ? ",\n     {" : "{";
            for (int rankLeft = 1; rankLeft <= 2; ++rankLeft) {
                // An up-card of the pair's value is of its rank unless ten-valued, of another rank otherwise.
                const bool possible = upValue != pairValue ? rankLeft == 2 : pairValue == 10 || rankLeft == 1;
                char number[32];
                std::snprintf(number, sizeof number, "%.17g", possible ? engine.split(pairValue, rankLeft, upValue, shoe) : 0.0);
                text += (rankLeft > 1 ? ", " : "") + std::string(number);
            }
            text += "}";
        }
        text += pairValue < 10 ? "},\n" : "}};\n";
    }
    return text;
}
