#include "StrategyChart.h"
#include "Alert.h"
#include "SplitString.h"
#include <QFile>
#include <functional>

namespace {
const QString fileNotFound = QStringLiteral("File not found");
const QString subscriptOutOfRange = QStringLiteral("Subscript out of range");

// Hands every non-empty line of an 8-bit text file to readLine; a line ends
// at CR and/or LF. The file is read in chunks, so a file far beyond the
// chart's limits is only read up to the line that breaks them. Returns the
// description of the first failure (readLine's, or a missing file), or "".
QString forEachLine(const QString &fileName, const std::function<QString(const QString &)> &readLine)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fileNotFound;
    QByteArray line;
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    for (qint64 got; (got = file.read(chunk.data(), chunk.size())) > 0;) {
        qint64 lineStart = 0;
        for (qint64 i = 0; i <= got; ++i) {
            const bool endOfChunk = i == got;
            if (!endOfChunk && chunk.at(i) != '\r' && chunk.at(i) != '\n')
                continue;
            line.append(chunk.constData() + lineStart, i - lineStart);
            lineStart = i + 1;
            if (endOfChunk || line.isEmpty())
                continue;
            const QString failure = readLine(QString::fromLatin1(line));
            if (!failure.isEmpty())
                return failure;
            line.clear();
        }
    }
    return line.isEmpty() ? QString() : readLine(QString::fromLatin1(line));
}

// Reads one field-per-cell table: each counted line fills the next row, its
// fields from `firstField` on filling columns 0, 1, ... A row or column past
// the table is a failure; the cells stored before it stay.
template <std::size_t Rows, std::size_t Columns>
QString readTable(const QString &fileName, const QString &delimiters, int firstField,
                  std::array<std::array<QString, Columns>, Rows> &table)
{
    std::size_t row = 0;
    return forEachLine(fileName, [&](const QString &line) -> QString {
        if (row >= Rows)
            return subscriptOutOfRange;
        KeyedStrings fields;
        // One field beyond the columns is enough to know the line is too long.
        SplitString(fields, line, delimiters, 1, firstField + static_cast<int>(Columns));
        for (int j = firstField; j <= fields.count(); ++j) {
            const auto column = static_cast<std::size_t>(j - firstField);
            if (column >= Columns)
                return subscriptOutOfRange;
            table[row][column] = fields.item(j);
        }
        ++row;
        return {};
    });
}
}

void StrategyChart::importChart(const QString &folder)
{
    // Field 1 of a chart line is the row label, for the person editing it.
    QString failure = readTable(folder + QStringLiteral("/bjdata.txt"), QStringLiteral(" ,"), 2, strategyChart);
    if (failure.isEmpty())
        failure = readTable(folder + QStringLiteral("/bjstrings.txt"), QStringLiteral("*"), 1, chartStrings);
    if (!failure.isEmpty())
        Alert::show(QStringLiteral("Error in import chart ") + failure);
}
