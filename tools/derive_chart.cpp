// Derives the strategy chart from the exact engine and writes bjdata.txt.
// Usage: derive_chart [output file]   (default: the source tree's data/bjdata.txt)
#include "ChartDerivation.h"
#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char **argv)
{
    const std::string path = argc > 1 ? argv[1] : VANTREL_SOURCE_DIR "/data/bjdata.txt";
    StrategyEngine engine;
    const ChartTable chart = ChartDerivation(engine).derive();
    std::ofstream(path, std::ios::binary) << chart.toText();
    std::printf("%s\nwritten to %s\n\n", chart.toText().c_str(), path.c_str());

    const ChartTable textbook = ChartTable::textbookSingleDeck();
    std::printf("Expected result per round (units staked):\n");
    std::printf("  derived chart        %+.6f\n", engine.chartRoundValue(chart));
    std::printf("  textbook chart       %+.6f\n", engine.chartRoundValue(textbook));
    std::printf("  best play, hand by hand %+.6f\n\n", engine.bestRoundValue());

    const char *const labels[ChartTable::rows] = {"H3-8", "H9", "H10", "H11", "H12", "H13", "H14",
                                                  "H15", "H16", "H17-20", "A2", "A3", "A4", "A5",
                                                  "A6", "A7", "A8", "A9", "AA", "22", "33",
                                                  "44", "55", "66", "77", "88", "99", "1010"};
    const char *const ups[ChartTable::columns] = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "A"};
    std::printf("Cells that differ from the textbook single-deck chart (textbook -> derived):\n");
    for (int row = 0; row < ChartTable::rows; ++row) {
        std::string line;
        for (int column = 0; column < ChartTable::columns; ++column) {
            if (chart.code(row, column) != textbook.code(row, column))
                line += std::string(" ") + ups[column] + ":" + textbook.code(row, column) + "->"
                        + chart.code(row, column);
        }
        if (!line.empty())
            std::printf("  %-7s%s\n", labels[row], line.c_str());
    }
    return 0;
}
