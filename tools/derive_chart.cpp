// Derives the strategy chart from the exact engine and prints it with every
// cell's margin over its runner-up and how chart play compares with best play.
#include "AdviceAgreement.h"
#include "CasinoChartWording.h"
#include "CasinoColumn.h"
#include "CasinoDerivation.h"
#include "ChartDerivation.h"
#include "RulesText.h"
#include "SplitOdds.h"
#include "ToolCommandLine.h"
#include <QCoreApplication>
#include <chrono>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <optional>
#include <random>
#include <vector>
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

// Split rounds of one pair against one up-card, every decision the chart's,
// dealt from a fresh shoe; rounds where the dealer holds a natural are left
// out, as the dealer peeks. Checks the engine's split value by simulation.
class SplitCheck {
public:
    SplitCheck(const GameRules &rules, const CasinoChart &chart, int pair, int up, uint64_t seed)
        : rules(rules), chart(chart), pair(pair), up(up), random(seed)
    {
    }

    // The result of one round in original stakes, or nothing when the dealer holds a natural.
    std::optional<double> play()
    {
        shoe = Shoe::fullShoe(rules.decks);
        shoe.remove(up);
        shoe.remove(pair);
        shoe.remove(pair);
        const int hole = draw();
        if ((up == 1 && hole == 10) || (up == 10 && hole == 1))
            return std::nullopt;
        const bool resplits = pair != 1 || rules.resplitAces;
        std::vector<std::pair<int, int>> finished; // total (22 for a bust), stake
        for (int hands = 2, played = 0; played < hands; ++played) {
            int second = draw();
            while (second == pair && resplits && hands < rules.splitHands) {
                ++hands;
                second = draw();
            }
            finished.push_back(playHand(second));
        }
        int hardSum = up + hole;
        bool hasAce = up == 1 || hole == 1;
        auto total = [&] { return hasAce && hardSum + 10 <= 21 ? hardSum + 10 : hardSum; };
        while (total() < 17 || (total() == 17 && rules.dealerHitsSoft17 && hasAce && hardSum + 10 == 17)) {
            const int card = draw();
            hardSum += card;
            hasAce = hasAce || card == 1;
        }
        const int dealer = total();
        double result = 0.0;
        for (const auto &[player, stake] : finished)
            result += player > 21 ? -stake : dealer > 21 || player > dealer ? stake : player < dealer ? -stake : 0;
        return result;
    }

private:
    int draw()
    {
        return shoe.take(std::uniform_int_distribution<int>(0, shoe.total - 1)(random));
    }

    std::pair<int, int> playHand(int second)
    {
        int hardSum = pair + second;
        bool hasAce = pair == 1 || second == 1;
        auto total = [&] { return hasAce && hardSum + 10 <= 21 ? hardSum + 10 : hardSum; };
        if (pair == 1)
            return {total(), 1}; // split aces take one card
        const bool pairAgain = second == pair;
        CasinoChart::Allowed allowed{rules.mayDouble(hardSum, hasAce, true), false, false};
        for (;;) {
            if (total() >= 21)
                return {total(), 1};
            const CasinoChart::Play play = chart.play(hardSum, hasAce, pairAgain ? pair : 0, up, allowed);
            allowed = {};
            if (play == CasinoChart::Play::Stand)
                return {total(), 1};
            const int card = draw();
            hardSum += card;
            hasAce = hasAce || card == 1;
            if (play == CasinoChart::Play::Double)
                return {total(), 2};
        }
    }

    const GameRules &rules;
    const CasinoChart &chart;
    int pair;
    int up;
    std::mt19937_64 random;
    Shoe shoe;
};

// Every split cell of the chart: the engine's split value against chart
// play simulated, each hand as the engine plays it.
void checkSplits(const GameRules &rules, const CasinoChart &chart, long long rounds)
{
    std::printf("Split cells: the engine's value per original stake against simulated chart play "
                "(%lld rounds each, no dealer natural):\n", rounds);
    const CasinoDealer dealer(rules.dealerHitsSoft17);
    double chiSquare = 0.0;
    int cells = 0;
    for (int up = 1; up <= 10; ++up) {
        CasinoColumn column(rules, dealer, Shoe::fullShoe(rules.decks), up);
        column.roundValue(chart);
        for (int pair = 1; pair <= 10; ++pair) {
            const CasinoChart::Code code = chart.code(CasinoChart::pairRow(pair), CasinoChart::column(up));
            if (code != CasinoChart::Code::Split && code != CasinoChart::Code::SurrenderElseSplit)
                continue;
            Shoe left = Shoe::fullShoe(rules.decks);
            left.remove(up);
            left.remove(pair);
            left.remove(pair);
            const double exact = column.splitValue(pair) / (1.0 - CasinoDealer::naturalChance(left, up));
            SplitCheck check(rules, chart, pair, up, 20261207u + 100u * pair + up);
            double sum = 0.0, squares = 0.0;
            long long played = 0;
            while (played < rounds) {
                if (const std::optional<double> result = check.play()) {
                    sum += *result;
                    squares += *result * *result;
                    ++played;
                }
            }
            const double mean = sum / played;
            const double error = std::sqrt((squares / played - mean * mean) / (played - 1));
            chiSquare += (mean - exact) * (mean - exact) / (error * error);
            ++cells;
            std::printf("  %-4s v %-2s exact %+.5f  simulated %+.5f +- %.5f  (%+.1f SE)\n",
                        CasinoChart::rowLabel(CasinoChart::pairRow(pair)), upLabels[CasinoChart::column(up)],
                        exact, mean, error, (mean - exact) / error);
        }
    }
    std::printf("chi-square %.1f over %d cells\n", chiSquare, cells);
}

// A casino table's chart, each cell's margin, the round's value and the
// chart in the strategy window's words.
int deriveCasinoChart(const GameRules &rules, const std::string &path, long long splitRounds,
                      ToolCommandLine &commandLine)
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
    if (splitRounds > 0) {
        std::printf("\n");
        checkSplits(rules, chart, splitRounds);
    }
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
    const QCommandLineOption checkSplitsOption(
        QStringLiteral("check-splits"),
        QStringLiteral("With --rules: play this many split rounds of every split cell by the chart and compare "
                       "them with the engine's split value."),
        QStringLiteral("rounds"));
    parser.addOption(checkSplitsOption);
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
            return deriveCasinoChart(*rules, path, parser.value(checkSplitsOption).toLongLong(), commandLine);
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
