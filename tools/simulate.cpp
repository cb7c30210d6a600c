// Checks the chart by playing it by the program's rules, or with --rules a
// casino chart by playing whole rounds at that casino table.
// Whole-chart run (the default): the chart's result per round against the
// engine's exact figure, the same decks again with a textbook single-deck
// chart, then the split hands of a few pairs against the engine.
// Cell runs (--cell, --close-pair-cells): one pair against one up-card dealt
// again and again, each first action played on the same decks, every later
// decision by the chart; paired differences with their standard errors.
#include "CasinoChartPlay.h"
#include "CasinoDerivation.h"
#include "DealingShoe.h"
#include "RoundSimulator.h"
#include "RulesText.h"
#include "SeededRandom.h"
#include "ShuffledShoeSource.h"
#include "StrategyEngine.h"
#include "ToolCommandLine.h"
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {
const std::string actionCodes = "shdp";
const char *const rankNames[] = {"", "A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};

std::optional<std::string> fileText(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return file ? std::optional<std::string>(text.str()) : std::nullopt;
}

bool readChart(const std::string &path, ChartTable &chart)
{
    const std::optional<std::string> text = fileText(path);
    return text && chart.fromText(*text);
}

// "A", "1" .. "10", "J", "Q", "K" to a rank; 0 for anything else.
int parseRank(const QString &text)
{
    for (int rank = 1; rank <= 13; ++rank)
        if (text.compare(QLatin1String(rankNames[rank]), Qt::CaseInsensitive) == 0)
            return rank;
    bool ok = false;
    const int number = text.toInt(&ok);
    return ok && number >= 1 && number <= 10 ? number : 0;
}

struct Cell {
    int pairRank = 0;
    int upRank = 0;
    int row() const { return ChartTable::twoCardRow(pairRank, pairRank); }
    int column() const { return ChartTable::column(valueOf(upRank)); }
};

// "7v10": a pair of sevens against a ten.
bool parseCell(const QString &text, Cell &cell)
{
    const QStringList parts = text.split(QLatin1Char('v'), Qt::KeepEmptyParts, Qt::CaseInsensitive);
    if (parts.size() != 2)
        return false;
    cell = {parseRank(parts[0]), parseRank(parts[1])};
    return cell.pairRank > 0 && cell.upRank > 0;
}

// Exact value of each first action ("shdp") on the deals of one chart cell,
// less that of the chart's own code, every later decision by the chart: how
// the chart's round value moves when only that cell changes, per deal in it.
std::array<double, 4> behindChartCode(StrategyEngine &engine, const ChartTable &chart, double chartValue,
                                      const Cell &cell)
{
    const double chance = ChartTable::dealtChances()[cell.row()][cell.column()];
    std::array<double, 4> behind{};
    for (int i = 0; i < 4; ++i) {
        ChartTable changed = chart;
        changed.setCode(cell.row(), cell.column(), actionCodes[i]);
        if (changed != chart)
            behind[i] = (chartValue - engine.chartRoundValue(changed)) / chance;
    }
    return behind;
}

// The chart's code for a cell and its closest other action by the engine.
struct Runner {
    char code;
    int runnerUp; // index into actionCodes
    double margin;
};

Runner closestOther(const ChartTable &chart, const Cell &cell, const std::array<double, 4> &behind)
{
    const char code = chart.code(cell.row(), cell.column());
    Runner runner{code, -1, 0.0};
    for (int i = 0; i < 4; ++i) {
        if (actionCodes[i] != code && (runner.runnerUp < 0 || behind[i] < runner.margin))
            runner = {code, i, behind[i]};
    }
    return runner;
}

void playCell(StrategyEngine &engine, const ChartTable &chart, double chartValue, const Cell &cell,
              long long rounds, uint64_t seed)
{
    const std::array<double, 4> behind = behindChartCode(engine, chart, chartValue, cell);
    const Runner runner = closestOther(chart, cell, behind);
    std::string actions(1, runner.code);
    for (const char code : actionCodes)
        if (code != runner.code)
            actions += code;
    // The up-card takes the first suit, the pair the next two: three distinct cards.
    const RoundSimulator::FirstCards cards{(cell.upRank - 1) * 4, (cell.pairRank - 1) * 4 + 1,
                                           (cell.pairRank - 1) * 4 + 2};
    const auto start = std::chrono::steady_clock::now();
    const std::vector<RoundSimulator::Comparison> results =
        RoundSimulator::compareFirstActions(chart, cards, actions, rounds, seed);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("%s-%s v %s: chart '%c', played %+.5f +- %.5f per round (%lld rounds, %.0f s)\n",
                rankNames[cell.pairRank], rankNames[cell.pairRank], rankNames[cell.upRank], runner.code,
                results.front().first.mean, results.front().first.standardError, rounds, seconds);
    if (valueOf(cell.pairRank) == 10)
        std::printf("  (the engine's figures average every ten-value pair and up-card of the cell)\n");
    for (size_t i = 0; i < results.size(); ++i) {
        const char other = actions[i + 1];
        const RoundSimulator::Statistics &difference = results[i].difference;
        const double exact = behind[actionCodes.find(other)];
        std::printf("  '%c' - '%c': engine %+.5f, simulated %+.5f +- %.5f (%+.1f SE from the engine)%s\n", runner.code,
                    other, exact, difference.mean, difference.standardError,
                    (difference.mean - exact) / difference.standardError,
                    other == actionCodes[runner.runnerUp] ? "  <- runner-up" : "");
    }
    std::fflush(stdout); // a long run shows each cell as it ends
}

// Every pair cell whose chart code is ahead of its runner-up by less than `margin`.
std::vector<Cell> closePairCells(StrategyEngine &engine, const ChartTable &chart, double chartValue, double margin)
{
    std::vector<Cell> cells;
    for (int pairRank = 1; pairRank <= 10; ++pairRank) {
        for (int upRank = 1; upRank <= 10; ++upRank) {
            const Cell cell{pairRank, upRank};
            if (closestOther(chart, cell, behindChartCode(engine, chart, chartValue, cell)).margin < margin)
                cells.push_back(cell);
        }
    }
    return cells;
}

// Split hands of one pair against one up-card, dealt again and again.
void checkSplit(StrategyEngine &engine, const ChartTable &chart, int pairRank, int upRank, long long rounds)
{
    const RoundSimulator::FirstCards cards{(upRank - 1) * 4, (pairRank - 1) * 4 + 1, (pairRank - 1) * 4 + 2};
    RoundSimulator simulator(chart);
    double sum[2] = {}, squares[2] = {};
    for (long long round = 0; round < rounds; ++round) {
        simulator.playRound(977, static_cast<uint64_t>(round), &cards, 'p');
        const RoundSimulator::SplitHands &hands = simulator.lastSplit();
        const int results[2] = {hands.first, hands.second};
        for (int i = 0; i < 2; ++i) {
            sum[i] += results[i];
            squares[i] += double(results[i]) * results[i];
        }
    }
    Shoe shoe = Shoe::fullDeck();
    shoe.remove(valueOf(upRank));
    shoe.remove(valueOf(pairRank));
    shoe.remove(valueOf(pairRank));
    const SplitValue exact = engine.chartSplit(chart, pairRank, 2 - (upRank == pairRank), valueOf(upRank), shoe);
    const double values[2] = {exact.first, exact.second};
    for (int i = 0; i < 2; ++i) {
        const double mean = sum[i] / rounds;
        const double error = std::sqrt((squares[i] / rounds - mean * mean) / rounds);
        std::printf("  pair %2d v %2d, %s hand: engine %+.5f, simulated %+.5f +- %.5f, difference %+.5f (%.1f SE)\n",
                    pairRank, upRank, i == 0 ? "first " : "second", values[i], mean, error, values[i] - mean,
                    (values[i] - mean) / error);
    }
}

void playWholeChart(StrategyEngine &engine, const ChartTable &chart, double exact, long long rounds, uint64_t seed)
{
    const ChartTable textbook = ChartTable::textbookSingleDeck();
    const double exactTextbook = engine.chartRoundValue(textbook);

    const auto start = std::chrono::steady_clock::now();
    const RoundSimulator::Comparison result = RoundSimulator::compare(chart, textbook, rounds, seed);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    auto report = [](const char *name, double engineValue, const RoundSimulator::Statistics &s) {
        std::printf("%s: engine %+.6f, simulated %+.6f +- %.6f (%lld rounds), %.2f SE apart\n", name, engineValue,
                    s.mean, s.standardError, s.rounds, (s.mean - engineValue) / s.standardError);
    };
    std::printf("Expected result per round, units staked (house edge = minus this):\n");
    report("chart         ", exact, result.first);
    report("textbook chart", exactTextbook, result.second);
    report("chart - textbook, same decks", exact - exactTextbook, result.difference);
    std::printf("chart ahead by %.1f standard errors of the paired difference\n",
                result.difference.mean / result.difference.standardError);
    std::printf("%.1f s for %lld rounds of each chart\n\n", seconds, rounds);

    std::printf("Split hands, engine against play:\n");
    const long long splitRounds = std::max(rounds / 50, 10'000LL);
    const int checks[][2] = {{8, 10}, {8, 13}, {1, 6}, {9, 7}, {7, 5}, {2, 4}};
    for (const auto &check : checks)
        checkSplit(engine, chart, check[0], check[1], splitRounds);
}

// Whole rounds at a casino table, every decision the chart's and insurance
// declined. With `throughShoe` the shoe is dealt down to its cut card as at
// the table; otherwise every round comes from a freshly shuffled shoe, the
// shoe the engine values.
void playCasinoRounds(const GameRules &rules, const CasinoChart &chart, double exact, long long rounds,
                      uint64_t seed, bool throughShoe)
{
    SeededRandom random(seed);
    ShuffledShoeSource source(random);
    DealingShoe shoe(rules.decks, source);
    double sum = 0.0, squares = 0.0;
    long long splits = 0, doubles = 0, surrenders = 0, naturals = 0, shuffles = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long long i = 0; i < rounds; ++i) {
        if (!throughShoe)
            shoe.shuffleAll();
        CasinoRound round(rules, shoe);
        shuffles += round.shuffledBeforeDeal();
        if (round.phase() == CasinoRound::Phase::Insurance)
            round.insure(false);
        while (round.phase() == CasinoRound::Phase::PlayerTurn)
            round.act(CasinoChartPlay::action(chart, round));
        const double result = round.bankChange() / double(CasinoRound::stake);
        sum += result;
        squares += result * result;
        const CasinoRound::PlayerHand &first = round.hands().front();
        splits += round.hands().size() > 1;
        surrenders += first.surrendered;
        naturals += first.outcome == CasinoRound::Outcome::Natural;
        for (const CasinoRound::PlayerHand &hand : round.hands())
            doubles += hand.doubled;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double mean = sum / rounds;
    const double error = std::sqrt((squares / rounds - mean * mean) / (rounds - 1));
    auto percent = [rounds](long long count) { return 100.0 * count / rounds; };
    std::printf("Rules: %s\n", RulesText::format(rules).c_str());
    std::printf("Expected result per round, units of the first stake (house edge = minus this):\n");
    std::printf("chart: engine %+.6f, simulated %+.6f +- %.6f (%lld rounds, %s), %.2f SE apart\n", exact, mean,
                error, rounds, throughShoe ? "dealt to the cut card" : "a fresh shoe every round",
                (mean - exact) / error);
    std::printf("rounds with a split %.2f %%, hands doubled %.2f %% of rounds, surrendered %.2f %%, naturals paid "
                "%.2f %%\n",
                percent(splits), percent(doubles), percent(surrenders), percent(naturals));
    if (throughShoe)
        std::printf("%lld shuffles, %.1f rounds a shoe\n", shuffles, double(rounds) / std::max(1LL, shuffles));
    std::printf("%.1f s\n", seconds);
}

std::optional<CasinoChart> readCasinoChart(const std::string &path, std::string *error)
{
    const std::optional<std::string> text = fileText(path);
    if (!text) {
        *error = "cannot read " + path;
        return std::nullopt;
    }
    return CasinoChart::fromText(*text, error);
}
}

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    ToolCommandLine commandLine(QStringLiteral(
        "Plays the strategy chart by the program's rules and compares the results with the exact engine.\n"
        "Without --cell or --close-pair-cells it plays whole rounds of the chart and of a textbook chart."));
    QCommandLineParser &parser = commandLine.parser;
    const QCommandLineOption roundsOption(
        QStringLiteral("rounds"), QStringLiteral("Rounds to play (default 100000000; 40000000 a cell)."),
        QStringLiteral("count"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Seed of the decks."),
                                        QStringLiteral("number"), QStringLiteral("20240601"));
    const QCommandLineOption chartOption(QStringLiteral("chart"), QStringLiteral("Chart file (default: the shipped one)."),
                                         QStringLiteral("file"), QStringLiteral(VANTREL_SOURCE_DIR "/data/bjdata.txt"));
    const QCommandLineOption cellOption(
        QStringLiteral("cell"),
        QStringLiteral("Play one pair against one up-card, e.g. 7v10 or Av6, with every first action. Repeatable."),
        QStringLiteral("pair>v<up"));
    const QCommandLineOption closeOption(
        QStringLiteral("close-pair-cells"),
        QStringLiteral("Play every pair cell whose code is ahead of the next best action by less than this."),
        QStringLiteral("margin"));
    const QCommandLineOption rulesOption(
        QStringLiteral("rules"),
        QStringLiteral("Play a casino table with these rules, e.g. decks=6,soft17=hit,surrender=late "
                       "(omitted keys take the defaults; 'program' is the program's table), against the engine's "
                       "value of the chart: the one derived for the table, or --chart in the casino chart format "
                       "(default 10000000 rounds)."),
        QStringLiteral("text"));
    const QCommandLineOption cutCardOption(
        QStringLiteral("cut-card"),
        QStringLiteral("With --rules: deal each shoe down to its cut card, as at the table, instead of a fresh "
                       "shoe every round."));
    parser.addOptions({roundsOption, seedOption, chartOption, cellOption, closeOption, rulesOption, cutCardOption});
    if (const int status = commandLine.parse(0, 0); status >= 0)
        return status;

    std::optional<GameRules> casinoRules;
    if (parser.isSet(rulesOption)) {
        std::string error;
        casinoRules = RulesText::parse(parser.value(rulesOption).toStdString(), &error);
        if (!casinoRules)
            return commandLine.fail(QString::fromStdString(error));
        if (!casinoRules->casino)
            casinoRules.reset();
    }
    if (casinoRules && (parser.isSet(cellOption) || parser.isSet(closeOption)))
        return commandLine.fail(QStringLiteral("--cell and --close-pair-cells play the program's table only"));
    if (!casinoRules && parser.isSet(cutCardOption))
        return commandLine.fail(QStringLiteral("--cut-card needs the rules of a casino table"));

    std::vector<Cell> cells;
    for (const QString &text : parser.values(cellOption)) {
        Cell cell;
        if (!parseCell(text, cell))
            return commandLine.fail(QStringLiteral("not a pair and an up-card: '%1'").arg(text));
        cells.push_back(cell);
    }
    double margin = 0.0;
    const bool playCloseCells = parser.isSet(closeOption);
    bool ok = true;
    if (playCloseCells)
        margin = parser.value(closeOption).toDouble(&ok);
    if (!ok || margin < 0)
        return commandLine.fail(QStringLiteral("the margin must be a number of 0 or more"));
    const bool cellRuns = playCloseCells || !cells.empty();
    const long long defaultRounds = casinoRules ? 10'000'000 : cellRuns ? 40'000'000 : 100'000'000;
    const long long rounds = parser.isSet(roundsOption) ? parser.value(roundsOption).toLongLong(&ok) : defaultRounds;
    // A standard error needs two rounds.
    if (!ok || rounds < 2)
        return commandLine.fail(QStringLiteral("the rounds must be a whole number of 2 or more"));
    const uint64_t seed = parser.value(seedOption).toULongLong(&ok);
    if (!ok)
        return commandLine.fail(QStringLiteral("the seed must be a whole number of 0 or more"));
    const std::string path = parser.value(chartOption).toStdString();
    if (casinoRules) {
        CasinoDerivation derivation(*casinoRules);
        std::optional<CasinoChart> casinoChart;
        if (parser.isSet(chartOption)) {
            std::string error;
            casinoChart = readCasinoChart(path, &error);
            if (!casinoChart) {
                std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
                return 1;
            }
        } else {
            casinoChart = derivation.derive();
        }
        playCasinoRounds(*casinoRules, *casinoChart, derivation.expectedValue(*casinoChart), rounds, seed,
                         parser.isSet(cutCardOption));
        return 0;
    }
    ChartTable chart;
    if (!readChart(path, chart)) {
        std::fprintf(stderr, "cannot read a complete chart from %s\n", path.c_str());
        return 1;
    }

    StrategyEngine engine;
    const double exact = engine.chartRoundValue(chart);
    if (!cellRuns) {
        playWholeChart(engine, chart, exact, rounds, seed);
        return 0;
    }
    if (playCloseCells) {
        const std::vector<Cell> close = closePairCells(engine, chart, exact, margin);
        cells.insert(cells.end(), close.begin(), close.end());
    }
    std::printf("Each cell: its deal every round, each first action on the same decks, later decisions by the "
                "chart.\nDifferences are per round, the chart's code minus another action.\n");
    for (const Cell &cell : cells)
        playCell(engine, chart, exact, cell, rounds, seed);
    return 0;
}
