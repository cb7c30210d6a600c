#include "CasinoChartWording.h"
#include <vector>

namespace {
using Code = CasinoChart::Code;

struct Group {
    const char *name;
    int firstRow;
    int lastRow;
    const char *rowNames[4]; // each row's name within the group, when rows differ
};

const Group groups[CasinoChartWording::lines] = {
    {"4 to 8", 0, 1, {"4 to 7", "8"}},
    {"9", 2, 2, {}},
    {"10", 3, 3, {}},
    {"11", 4, 4, {}},
    {"12", 5, 5, {}},
    {"13 to 16", 6, 9, {"13", "14", "15", "16"}},
    {"17 to 20", 10, 11, {"17", "18 to 20"}},
    {"A2, A3", 12, 13, {"A2", "A3"}},
    {"A4, A5", 14, 15, {"A4", "A5"}},
    {"A6", 16, 16, {}},
    {"A7", 17, 17, {}},
    {"A8, A9", 18, 19, {"A8", "A9"}},
    {"A, A", 20, 20, {}},
    {"2-2, 3-3", 21, 22, {"2-2", "3-3"}},
    {"4-4", 23, 23, {}},
    {"5-5", 24, 24, {}},
    {"6-6", 25, 25, {}},
    {"7-7", 26, 26, {}},
    {"8-8", 27, 27, {}},
    {"9-9", 28, 28, {}},
    {"10-10", 29, 29, {}},
};

const char *verb(Code code)
{
    switch (code) {
    case Code::Hit: return "hit";
    case Code::Stand: return "stand";
    case Code::Split: return "split";
    case Code::Double: return "double";
    case Code::DoubleElseStand: return "double (else stand)";
    case Code::Surrender: return "surrender";
    case Code::SurrenderElseStand: return "surrender (else stand)";
    case Code::SurrenderElseSplit: return "surrender (else split)";
    }
    return "";
}

const char *const upNames[CasinoChart::columns] = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "ace"};

// "2 to 6", "9 and ace", "2, 7 and 8": the up-cards marked, in runs.
std::string upCards(const std::array<bool, CasinoChart::columns> &marked)
{
    std::vector<std::string> runs;
    for (int column = 0; column < CasinoChart::columns;) {
        if (!marked[column]) {
            ++column;
            continue;
        }
        int end = column;
        while (end + 1 < CasinoChart::columns && marked[end + 1])
            ++end;
        if (end - column >= 2) {
            runs.push_back(std::string(upNames[column]) + " to " + upNames[end]);
        } else {
            for (int at = column; at <= end; ++at)
                runs.push_back(upNames[at]);
        }
        column = end + 1;
    }
    std::string text;
    for (std::size_t i = 0; i < runs.size(); ++i)
        text += (i == 0 ? "" : i + 1 == runs.size() ? " and " : ", ") + runs[i];
    return text;
}

bool sameRow(const CasinoChart &chart, int a, int b)
{
    for (int column = 0; column < CasinoChart::columns; ++column)
        if (chart.code(a, column) != chart.code(b, column))
            return false;
    return true;
}
}

std::string CasinoChartWording::rowAdvice(const CasinoChart &chart, int row)
{
    // The play named last ("otherwise ...") is the plain play met most, the ace's among equals.
    std::array<int, 8> counts{};
    for (int column = 0; column < CasinoChart::columns; ++column)
        ++counts[static_cast<int>(chart.code(row, column))];
    Code usual = chart.code(row, CasinoChart::columns - 1);
    for (Code plain : {Code::Hit, Code::Stand, Code::Split})
        if (counts[static_cast<int>(plain)] > counts[static_cast<int>(usual)] ||
            (counts[static_cast<int>(usual)] > 0 && usual > Code::Split && counts[static_cast<int>(plain)] > 0 &&
             counts[static_cast<int>(plain)] == counts[static_cast<int>(usual)]))
            usual = plain;
    if (counts[static_cast<int>(usual)] == CasinoChart::columns)
        return std::string("Always ") + verb(usual);
    std::string text;
    for (Code code : {Code::Double, Code::DoubleElseStand, Code::Surrender, Code::SurrenderElseStand,
                      Code::SurrenderElseSplit, Code::Split, Code::Stand, Code::Hit}) {
        if (code == usual || counts[static_cast<int>(code)] == 0)
            continue;
        std::array<bool, CasinoChart::columns> marked{};
        for (int column = 0; column < CasinoChart::columns; ++column)
            marked[column] = chart.code(row, column) == code;
        text += (text.empty() ? "" : ", ") + std::string(verb(code)) + " against " + upCards(marked);
    }
    text += std::string(", otherwise ") + verb(usual);
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

std::array<CasinoChartWording::Line, CasinoChartWording::lines> CasinoChartWording::of(const CasinoChart &chart)
{
    std::array<Line, lines> wording;
    for (int line = 0; line < lines; ++line) {
        const Group &group = groups[line];
        wording[line][0] = group.name;
        bool alike = true;
        for (int row = group.firstRow + 1; row <= group.lastRow; ++row)
            alike = alike && sameRow(chart, group.firstRow, row);
        if (alike) {
            wording[line][1] = rowAdvice(chart, group.firstRow);
            continue;
        }
        // Rows that differ are named; a row playing as the one before it joins its name.
        std::string text;
        for (int row = group.firstRow; row <= group.lastRow; ++row) {
            std::string names = group.rowNames[row - group.firstRow];
            while (row < group.lastRow && sameRow(chart, row, row + 1))
                names += std::string(", ") + group.rowNames[++row - group.firstRow];
            text += (text.empty() ? "" : "; ") + names + ": " + rowAdvice(chart, row);
        }
        wording[line][1] = text;
    }
    return wording;
}

int CasinoChartWording::lineOf(int row)
{
    for (int line = 0; line < lines; ++line)
        if (row >= groups[line].firstRow && row <= groups[line].lastRow)
            return line;
    return -1;
}
