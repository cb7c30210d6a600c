#include "ChartTable.h"
#include "ChartText.h"
#include <algorithm>
#include <sstream>
#include <vector>

namespace {
const char *const rowLabels[ChartTable::rows] = {
    "H3-8", "H9", "H10", "H11", "H12", "H13", "H14", "H15", "H16", "H17-20",
    "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9",
    "AA", "22", "33", "44", "55", "66", "77", "88", "99", "1010"};

int value(int rank)
{
    return rank > 10 ? 10 : rank;
}
}

int ChartTable::hardRow(int total)
{
    if (total >= 17 && total <= 20)
        return 9;
    if (total >= 9 && total <= 16)
        return total - 8;
    if (total >= 3 && total <= 8)
        return 0;
    return -1;
}

int ChartTable::twoCardRow(int rank1, int rank2)
{
    if (rank1 == rank2)
        return rank1 == 1 ? 18 : 17 + value(rank1);
    const int other = rank1 == 1 ? rank2 : rank2 == 1 ? rank1 : 0;
    if (other >= 2 && other <= 9)
        return 8 + other;
    const bool hasAce = rank1 == 1 || rank2 == 1; // with a ten-value card: 21, no row
    return hardRow(value(rank1) + value(rank2) + (hasAce ? 10 : 0));
}

int ChartTable::laterRow(int hardSum, bool hasAce)
{
    const bool soft = hasAce && hardSum + 10 <= 21;
    if (soft)
        return hardSum + 10 <= 20 ? hardSum + 7 : -1; // soft 13 reads A2
    return hardRow(hardSum);
}

char ChartTable::laterAdvice(int hardSum, bool hasAce, int upValue) const
{
    const int row = laterRow(hardSum, hasAce);
    if (row < 0)
        return 's';
    const char answer = cells[row][column(upValue)];
    if (answer != 'd')
        return answer;
    const bool soft = hasAce && hardSum + 10 <= 21;
    return withoutDouble(soft ? hardSum + 10 : hardSum, soft);
}

char ChartTable::advice(const Hand &hand, int upValue) const
{
    if (hand.count() != 2) {
        int hardSum = 0;
        bool hasAce = false;
        for (int i = 0; i < hand.count(); ++i) {
            hardSum += value(hand[i].rank);
            hasAce = hasAce || hand[i].rank == 1;
        }
        return laterAdvice(hardSum, hasAce, upValue);
    }
    const int row = twoCardRow(hand[0].rank, hand[1].rank);
    return row < 0 ? 's' : cells[row][column(upValue)];
}

std::string ChartTable::toText() const
{
    std::string text;
    for (int row = 0; row < rows; ++row) {
        std::vector<std::string> codes;
        for (int column = 0; column < columns; ++column)
            codes.emplace_back(1, cells[row][column]);
        text += ChartText::line(rowLabels[row], codes);
    }
    return text;
}

bool ChartTable::fromText(const std::string &text)
{
    std::istringstream lines(text);
    std::string line;
    int row = 0;
    while (std::getline(lines, line)) {
        const std::vector<std::string> fields = ChartText::fields(line);
        if (line.find_first_not_of("\r") == std::string::npos)
            continue;
        if (row >= rows || fields.size() != columns + 1)
            return false;
        for (int column = 0; column < columns; ++column) {
            if (fields[column + 1].size() != 1)
                return false;
            cells[row][column] = fields[column + 1][0];
        }
        ++row;
    }
    return row == rows;
}

ChartTable ChartTable::textbookSingleDeck()
{
    //                                   2 3 4 5 6 7 8 9 T A
    const char *const rowsText[rows] = {"hhhhhhhhhh", "dddddhhhhh", "ddddddddhh", "dddddddddd",
                                        "hhssshhhhh", "ssssshhhhh", "ssssshhhhh", "ssssshhhhh",
                                        "ssssshhhhh", "ssssssssss",
                                        "hhdddhhhhh", "hhdddhhhhh", "hhdddhhhhh", "hhdddhhhhh",
                                        "dddddhhhhh", "sddddsshhs", "ssssdsssss", "ssssssssss",
                                        "pppppppppp", "hppppphhhh", "hhpppphhhh", "hhhhhhhhhh",
                                        "ddddddddhh", "ppppphhhhh", "pppppphhsh", "pppppppppp",
                                        "pppppsppss", "ssssssssss"};
    ChartTable chart;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            chart.cells[row][column] = rowsText[row][column];
    return chart;
}

ChartTable::CellValues ChartTable::dealtChances()
{
    CellValues chances{};
    std::array<int, 14> left;
    left.fill(4);
    for (int up = 1; up <= 13; ++up) {
        const double pUp = left[up]-- / 52.0;
        for (int first = 1; first <= 13; ++first) {
            const double pFirst = pUp * left[first]-- / 51.0;
            for (int second = 1; second <= 13; ++second) {
                const int row = twoCardRow(first, second);
                if (row >= 0)
                    chances[row][column(std::min(up, 10))] += pFirst * left[second] / 50.0;
            }
            ++left[first];
        }
        ++left[up];
    }
    return chances;
}
