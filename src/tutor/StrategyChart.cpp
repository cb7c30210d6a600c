#include "StrategyChart.h"
#include "Alert.h"
#include "SplitString.h"
#include "TextFileReader.h"
#include <QStringList>
#include <algorithm>
#include <functional>

namespace {
const QString chartFile = QStringLiteral("bjdata.txt");
const QString wordingFile = QStringLiteral("bjstrings.txt");
const int longestCellShown = 20;

// Hands every non-empty line to readLine with its 1-based number in the
// file, until readLine answers false. A line ends at CR, LF or CR LF.
// Returns the number of the line after the last one.
int forEachLine(const QString &text, const std::function<bool(const QString &line, int number)> &readLine)
{
    int number = 1;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        if (!end && text.at(i) != QLatin1Char('\r') && text.at(i) != QLatin1Char('\n'))
            continue;
        if (i > start && !readLine(text.mid(start, i - start), number))
            return number;
        if (end)
            break;
        if (text.at(i) == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
        ++number;
    }
    return number;
}

// The 1-based column where field `field` of the line begins.
int fieldColumn(const QString &line, const QString &delimiters, int field)
{
    int found = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const bool starts = !delimiters.contains(line.at(i)) && (i == 0 || delimiters.contains(line.at(i - 1)));
        if (starts && ++found == field)
            return static_cast<int>(i + 1);
    }
    return 1;
}

QString at(int line, int column, const QString &what)
{
    return QStringLiteral(" line %1, column %2: %3").arg(line).arg(column).arg(what);
}

struct TableRead {
    int rows = 0;
    int endLine = 1;  // the line after the last one read
    QString problem;  // the first, with its place
};

// Fills one table from a file's text: each counted line fills the next row,
// its fields from `firstField` on filling columns 0, 1, ... A row or field
// past the table stops the reading; the cells stored before it stay. A cell
// that `isValid` refuses is stored as it is and reported, and so is a row
// with fewer than `cellsRequired` cells.
template <std::size_t Rows, std::size_t Columns>
TableRead readTable(const QString &text, const QString &delimiters, int firstField, int cellsRequired,
                    std::array<std::array<QString, Columns>, Rows> &table,
                    const std::function<bool(const QString &cell)> &isValid)
{
    TableRead read;
    const int fieldsAllowed = firstField - 1 + static_cast<int>(Columns);
    read.endLine = forEachLine(text, [&](const QString &line, int number) {
        if (read.rows >= static_cast<int>(Rows)) {
            if (read.problem.isEmpty())
                read.problem = at(number, 1, QStringLiteral("more than %1 lines").arg(Rows));
            return false;
        }
        KeyedStrings fields;
        // One field beyond the columns is enough to know the line is too long.
        SplitString(fields, line, delimiters, 1, fieldsAllowed + 1);
        for (int j = firstField; j <= fields.count(); ++j) {
            if (j > fieldsAllowed) {
                if (read.problem.isEmpty())
                    read.problem = at(number, fieldColumn(line, delimiters, j),
                                      QStringLiteral("more than %1 fields").arg(fieldsAllowed));
                return false;
            }
            const QString &cell = fields.item(j);
            table[read.rows][j - firstField] = cell;
            if (read.problem.isEmpty() && isValid && !isValid(cell))
                read.problem = at(number, fieldColumn(line, delimiters, j),
                                  QStringLiteral("\"%1\" is not one of h, s, d, p").arg(cell.left(longestCellShown)));
        }
        // Placed where the missing cells would be typed.
        const int cells = std::max(0, static_cast<int>(fields.count()) - firstField + 1);
        if (read.problem.isEmpty() && cells < cellsRequired)
            read.problem = at(number, static_cast<int>(line.size()) + 1,
                              QStringLiteral("the row has %1 of its %2 codes").arg(cells).arg(cellsRequired));
        ++read.rows;
        return true;
    });
    return read;
}

// Reads one file and shows its first problem, if any, naming the file.
void readFile(const QString &folder, const QString &fileName, const std::function<QString(const QString &text)> &readText)
{
    const TextFileReader::Result file = TextFileReader::read(folder + QLatin1Char('/') + fileName);
    const QString problem = file.problem.isEmpty() ? readText(file.text) : QStringLiteral(": ") + file.problem;
    if (!problem.isEmpty())
        Alert::show(QStringLiteral("Error in import chart ") + fileName + problem);
}
}

bool StrategyChart::isActionCode(const QString &cell)
{
    static const QStringList codes{QStringLiteral("h"), QStringLiteral("s"), QStringLiteral("d"), QStringLiteral("p")};
    return codes.contains(cell);
}

void StrategyChart::importChart(const QString &folder)
{
    readFile(folder, chartFile, [this](const QString &text) {
        // Field 1 of a chart line is the row label, for the person editing it.
        const int cellsInRow = static_cast<int>(strategyChart[0].size());
        TableRead read = readTable(text, QStringLiteral(" ,"), 2, cellsInRow, strategyChart, isActionCode);
        if (read.problem.isEmpty() && read.rows < static_cast<int>(strategyChart.size()))
            read.problem = at(read.endLine, 1, QStringLiteral("the chart has %1 of its %2 rows")
                                                   .arg(read.rows).arg(strategyChart.size()));
        return read.problem;
    });
    // The window's wording is read whatever became of the chart, so the
    // window never stands blank because of the other file.
    readFile(folder, wordingFile, [this](const QString &text) {
        // A line may leave its advice, or both its texts, empty.
        return readTable(text, QStringLiteral("*"), 1, 0, chartStrings, nullptr).problem;
    });
}
