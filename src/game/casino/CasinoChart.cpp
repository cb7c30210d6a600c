#include "CasinoChart.h"
#include "ChartText.h"
#include <sstream>
#include <vector>

namespace {
const char *const rowLabels[CasinoChart::rows] = {
    "H4-7", "H8", "H9", "H10", "H11", "H12", "H13", "H14", "H15", "H16", "H17", "H18-20",
    "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9",
    "AA", "22", "33", "44", "55", "66", "77", "88", "99", "1010"};

const char *const codeTexts[] = {"h", "s", "p", "d", "ds", "r", "rs", "rp"};
constexpr int codeCount = sizeof codeTexts / sizeof codeTexts[0];

}

int CasinoChart::totalRow(int total, bool soft)
{
    if (soft)
        return total >= 13 && total <= 20 ? total - 1 : -1;
    if (total >= 4 && total <= 7)
        return 0;
    if (total >= 8 && total <= 17)
        return total - 7;
    if (total >= 18 && total <= 20)
        return 11;
    return -1;
}

const char *CasinoChart::rowLabel(int row)
{
    return rowLabels[row];
}

const char *CasinoChart::codeText(Code code)
{
    return codeTexts[static_cast<int>(code)];
}

CasinoChart::Play CasinoChart::resolve(Code code, Allowed allowed)
{
    switch (code) {
    case Code::Hit: return Play::Hit;
    case Code::Stand: return Play::Stand;
    case Code::Split: return allowed.split ? Play::Split : Play::Hit;
    case Code::Double: return allowed.doubleDown ? Play::Double : Play::Hit;
    case Code::DoubleElseStand: return allowed.doubleDown ? Play::Double : Play::Stand;
    case Code::Surrender: return allowed.surrender ? Play::Surrender : Play::Hit;
    case Code::SurrenderElseStand: return allowed.surrender ? Play::Surrender : Play::Stand;
    case Code::SurrenderElseSplit: return allowed.surrender ? Play::Surrender : allowed.split ? Play::Split : Play::Hit;
    }
    return Play::Hit;
}

int CasinoChart::row(int hardSum, bool hasAce, int pairValue, bool maySplit)
{
    if (pairValue != 0 && maySplit)
        return pairRow(pairValue);
    const bool soft = hasAce && hardSum + 10 <= 21;
    return totalRow(soft ? hardSum + 10 : hardSum, soft);
}

CasinoChart::Play CasinoChart::play(int hardSum, bool hasAce, int pairValue, int upValue, Allowed allowed) const
{
    const int column = CasinoChart::column(upValue);
    const int row = CasinoChart::row(hardSum, hasAce, pairValue, allowed.split);
    if (row < 0) {
        const int total = hasAce && hardSum + 10 <= 21 ? hardSum + 10 : hardSum;
        return total >= 21 ? Play::Stand : Play::Hit;
    }
    if (!isPairRow(row))
        allowed.split = false;
    return resolve(cells[row][column], allowed);
}

namespace {
struct HandSums {
    int hardSum = 0;
    bool hasAce = false;
    int pairValue = 0;
};

HandSums sumsOf(const Hand &hand)
{
    HandSums sums;
    for (int i = 0; i < hand.count(); ++i) {
        sums.hardSum += cardValue(hand[i]);
        sums.hasAce = sums.hasAce || hand[i].rank == 1;
    }
    if (hand.count() == 2 && cardValue(hand[0]) == cardValue(hand[1]))
        sums.pairValue = cardValue(hand[0]);
    return sums;
}
} // namespace

CasinoChart::Play CasinoChart::play(const Hand &hand, int upValue, Allowed allowed) const
{
    const HandSums sums = sumsOf(hand);
    return play(sums.hardSum, sums.hasAce, sums.pairValue, upValue, allowed);
}

int CasinoChart::handRow(const Hand &hand, bool maySplit)
{
    const HandSums sums = sumsOf(hand);
    return row(sums.hardSum, sums.hasAce, sums.pairValue, maySplit);
}

std::string CasinoChart::toText() const
{
    std::string text;
    for (int row = 0; row < rows; ++row) {
        std::vector<std::string> codes;
        for (int column = 0; column < columns; ++column)
            codes.emplace_back(codeText(cells[row][column]));
        text += ChartText::line(rowLabels[row], codes);
    }
    return text;
}

std::optional<CasinoChart> CasinoChart::fromText(const std::string &text, std::string *error)
{
    auto fail = [error](int lineNumber, const std::string &why) -> std::optional<CasinoChart> {
        if (error)
            *error = "line " + std::to_string(lineNumber) + ": " + why;
        return std::nullopt;
    };
    CasinoChart chart;
    std::istringstream lines(text);
    std::string line;
    int row = 0;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        const std::vector<std::string> fields = ChartText::fields(line);
        if (fields.empty())
            continue;
        if (row >= rows)
            return fail(lineNumber, "more than " + std::to_string(rows) + " rows");
        if (fields[0] != rowLabels[row])
            return fail(lineNumber, "row " + fields[0] + " where " + rowLabels[row] + " belongs");
        if (fields.size() != columns + 1)
            return fail(lineNumber, std::string(rowLabels[row]) + " has " + std::to_string(fields.size() - 1) +
                                        " codes, not " + std::to_string(columns));
        for (int column = 0; column < columns; ++column) {
            const std::string &field = fields[column + 1];
            int code = 0;
            while (code < codeCount && field != codeTexts[code])
                ++code;
            if (code == codeCount)
                return fail(lineNumber, std::string(rowLabels[row]) + " column " + std::to_string(column + 1) +
                                            ": unknown code \"" + field + "\"");
            chart.cells[row][column] = static_cast<Code>(code);
        }
        ++row;
    }
    if (row < rows)
        return fail(lineNumber, std::string("rows end before ") + rowLabels[row]);
    return chart;
}
