// Derives the strategy chart from the exact engine and prints it with every
// cell's margin over its runner-up and how chart play compares with best play.
#include "AdviceAgreement.h"
#include "CasinoChartWording.h"
#include "CasinoDerivation.h"
#include "ChartDerivation.h"
#include "RulesText.h"
#include "SplitOdds.h"
#include "ToolCommandLine.h"
#include <QCoreApplication>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

namespace {
const char *const rowLabels[ChartTable::rows] = {"H3-8", "H9", "H10", "H11", "H12", "H13", "H14",
                                                 "H15", "H16", "H17-20", "A2", "A3", "A4", "A5",
                                                 "A6", "A7", "A8", "A9", "AA", "22", "33",
                                                 "44", "55", "66", "77", "88", "99", "1010"};
const char *const upLabels[ChartTable::columns] = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "A"};

void printMargins(const ChartTable &chart, const ChartDerivation::Margins &margins)
{
    std::printf("Each cell's lead over its runner-up, in millionths of a unit per round (runner-up code):\n%-8s",
                "");
    for (const char *up : upLabels)
        std::printf("%12s", up);
    std::printf("\n");
    for (int row = 0; row < ChartTable::rows; ++row) {
        std::printf("%-8s", rowLabels[row]);
        for (int column = 0; column < ChartTable::columns; ++column) {
            const ChartDerivation::Margin &margin = margins[row][column];
            std::printf("  %c%7.2f(%c)", chart.code(row, column), margin.margin * 1e6, margin.runnerUp);
        }
        std::printf("\n");
    }
    std::printf("\nPair cells whose lead is under 0.02 units per pair dealt:\n");
    // A pair row holds pairs alone, so its cell's chance is the pair's.
    const ChartTable::CellValues chances = ChartTable::dealtChances();
    for (int row = 0; row < ChartTable::rows; ++row) {
        for (int column = 0; column < ChartTable::columns && ChartTable::isPairRow(row); ++column) {
            const double perPair = margins[row][column].margin / chances[row][column];
            if (perPair < 0.02)
                std::printf("  %-5s v %-2s  %c over %c by %.4f\n", rowLabels[row], upLabels[column],
                            chart.code(row, column), margins[row][column].runnerUp, perPair);
        }
    }
}

// A casino table's chart, each cell's margin, the round's value and the
// chart in the strategy window's words.
int deriveCasinoChart(const GameRules &rules, const std::string &path, ToolCommandLine &commandLine)
{
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    CasinoDerivation derivation(rules);
    const CasinoChart chart = derivation.derive();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    std::printf("Rules: %s\n", RulesText::format(rules).c_str());
    if (path.empty())
        std::printf("%s\n", chart.toText().c_str());
    else if (!(std::ofstream(path, std::ios::binary) << chart.toText()))
        return commandLine.fail(QStringLiteral("cannot write %1").arg(QString::fromStdString(path)));
    else
        std::printf("chart written to %s\n\n", path.c_str());
    std::printf("derived in %.3f s (%.3f s of CPU)\n\n", seconds, cpuSeconds);
    const double value = derivation.expectedValue(chart);
    std::printf("Expected result per round, units of the first stake: %+.6f (house edge %.4f %%)\n\n", value,
                -100.0 * value);

    std::printf("Each cell's lead over the best code that plays differently, in millionths of a unit per round "
                "(runner-up code):\n%-8s",
                "");
    for (const char *up : upLabels)
        std::printf("%13s", up);
    std::printf("\n");
    for (int row = 0; row < CasinoChart::rows; ++row) {
        std::printf("%-8s", CasinoChart::rowLabel(row));
        for (int column = 0; column < CasinoChart::columns; ++column) {
            const CasinoDerivation::Margin &margin = derivation.margins()[row][column];
            std::printf("  %2s%7.2f(%2s)", CasinoChart::codeText(chart.code(row, column)), margin.margin * 1e6,
                        CasinoChart::codeText(margin.runnerUp));
        }
        std::printf("\n");
    }
    std::printf("\nIn words:\n");
    for (const CasinoChartWording::Line &line : CasinoChartWording::of(chart))
        std::printf("  %-9s %s\n", line[0].c_str(), line[1].c_str());
    return 0;
}
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ToolCommandLine commandLine(QStringLiteral(
        "Derives the strategy chart from the exact engine: each cell's code gives the highest exact round value "
        "when every decision follows the chart. Prints the chart (or writes it to the file given), each cell's "
        "margin, and chart play against best play."));
    QCommandLineParser &parser = commandLine.parser;
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Writes the chart to this file."),
                                 QStringLiteral("[file]"));
    const QCommandLineOption sourceOption(QStringLiteral("write-source-chart"),
                                          QStringLiteral("Writes the chart to data/bjdata.txt in the source tree, "
                                                         "and the live odds' split values to src/game/SplitOddsTable.h."));
    parser.addOption(sourceOption);
    const QCommandLineOption referenceOption(
        QStringLiteral("reference"),
        QStringLiteral("Derives by the reference search, which values each single-cell change by valuing the whole "
                       "changed chart again: the same chart and margins, a few hundred times slower."));
    parser.addOption(referenceOption);
    const QCommandLineOption rulesOption(
        QStringLiteral("rules"),
        QStringLiteral("Derives the basic strategy of a casino table with these rules, e.g. "
                       "decks=6,soft17=hit,surrender=late (omitted keys take the defaults; 'program' is the "
                       "program's table)."),
        QStringLiteral("text"));
    parser.addOption(rulesOption);
    if (const int status = commandLine.parse(0, 1); status >= 0)
        return status;
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty() && parser.isSet(sourceOption))
        return commandLine.fail(QStringLiteral("give a file or --write-source-chart, not both"));
    const std::string path = parser.isSet(sourceOption) ? std::string(VANTREL_SOURCE_DIR "/data/bjdata.txt")
                             : files.isEmpty()          ? std::string()
                                                        : files.first().toStdString();

    if (parser.isSet(rulesOption)) {
        std::string error;
        const std::optional<GameRules> rules = RulesText::parse(parser.value(rulesOption).toStdString(), &error);
        if (!rules)
            return commandLine.fail(QString::fromStdString(error));
        if (rules->casino) {
            if (parser.isSet(sourceOption) || parser.isSet(referenceOption))
                return commandLine.fail(QStringLiteral("--write-source-chart and --reference derive the program's "
                                                       "table only"));
            return deriveCasinoChart(*rules, path, commandLine);
        }
    }

    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    StrategyEngine engine;
    ChartDerivation derivation(engine);
    const ChartTable chart = parser.isSet(referenceOption) ? derivation.deriveByReference() : derivation.derive();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    if (path.empty()) {
        std::printf("%s\n", chart.toText().c_str());
    } else if (!(std::ofstream(path, std::ios::binary) << chart.toText())) {
        return commandLine.fail(QStringLiteral("cannot write %1").arg(QString::fromStdString(path)));
    } else {
        std::printf("chart written to %s\n\n", path.c_str());
    }
    std::printf("derived in %.3f s (%.3f s of CPU)%s\n\n", seconds, cpuSeconds,
                parser.isSet(referenceOption) ? " by the reference search" : "");
    if (parser.isSet(sourceOption)) {
        const char *const tablePath = VANTREL_SOURCE_DIR "/src/game/strategy/SplitOddsTable.h";
        if (!(std::ofstream(tablePath, std::ios::binary) << SplitOdds::tableText(engine)))
            return commandLine.fail(QStringLiteral("cannot write %1").arg(QLatin1String(tablePath)));
        std::printf("split values written to %s\n\n", tablePath);
    }

    const ChartTable textbook = ChartTable::textbookSingleDeck();
    const double played = engine.chartRoundValue(chart);
    const double best = engine.bestRoundValue();
    std::printf("Expected result per round (units staked):\n");
    std::printf("  chart play                  %+.6f\n", played);
    std::printf("  best play, hand by hand     %+.6f   (chart play behind by %.6f)\n", best, best - played);
    std::printf("  textbook chart play         %+.6f\n", engine.chartRoundValue(textbook));
    std::printf("Advice equal to the exact best allowed action: %.3f %% of decisions, weighted by how often met\n\n",
                100.0 * AdviceAgreement(engine).share(chart));

    printMargins(chart, derivation.margins());

    std::printf("\nCells that differ from the textbook single-deck chart (textbook -> derived):\n");
    for (int row = 0; row < ChartTable::rows; ++row) {
        std::string line;
        for (int column = 0; column < ChartTable::columns; ++column) {
            if (chart.code(row, column) != textbook.code(row, column))
                line += std::string(" ") + upLabels[column] + ":" + textbook.code(row, column) + "->"
                        + chart.code(row, column);
        }
        if (!line.empty())
            std::printf("  %-7s%s\n", rowLabels[row], line.c_str());
    }
    return 0;
}
