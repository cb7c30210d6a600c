#include "AlertRecorder.h"
#include "StrategyChart.h"
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString subscriptError = QStringLiteral("Error in import chart Subscript out of range");
const QByteArray fullRow = "H9 h,s,d,p,h,s,d,p,h,s";
const QStringList fullRowCells = {"h", "s", "d", "p", "h", "s", "d", "p", "h", "s"};

QStringList rowOf(const StrategyChart &chart, int row)
{
    QStringList cells;
    for (const QString &cell : chart.strategyChart.at(std::size_t(row)))
        cells << cell;
    return cells;
}

// A folder holding the given chart files (a null content means no file).
class ChartFolder {
public:
    ChartFolder(const QByteArray &data, const QByteArray &strings = QByteArray())
    {
        write("bjdata.txt", data);
        write("bjstrings.txt", strings);
    }
    StrategyChart import(QStringList &messages) const
    {
        AlertRecorder recorder;
        StrategyChart chart;
        chart.importChart(dir.path());
        messages = recorder.texts;
        return chart;
    }

private:
    void write(const char *name, const QByteArray &content)
    {
        if (content.isNull())
            return;
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QTemporaryDir dir;
};

QByteArray lines(const QByteArray &line, int count, const char *end = "\n")
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += line + end;
    return text;
}
}

class TestStrategyChart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void separatorsAndLineEndsFillRowsAlike()
    {
        const QByteArray data = "\n\nH3-8,h,s,d,p,h,s,d,p,h,s\n"
                                "H9 h s d p h s d p h s\r\n\r\n"
                                " , H10 ,h, s ,d,,p  h s,d p,h , s,\r"
                                "\r\r" + fullRow;
        QStringList messages;
        const StrategyChart chart = ChartFolder(data, "a*b\r\n\r\nc*d").import(messages);
        QCOMPARE(messages, QStringList());
        for (int row = 0; row < 4; ++row)
            QCOMPARE(rowOf(chart, row), fullRowCells);
        QCOMPARE(rowOf(chart, 4), QStringList(10, QString()));
        QCOMPARE(chart.chartStrings[1][1], QString("d"));
    }

    void shortRowsAndOddCodesAreStoredAsGiven()
    {
        QStringList messages;
        const StrategyChart chart = ChartFolder("H3-8 h\n , , \nH10 H,D,x\n" + fullRow, "a*b").import(messages);
        QCOMPARE(messages, QStringList());
        QCOMPARE(rowOf(chart, 0), QStringList({"h"}) + QStringList(9, QString()));
        QCOMPARE(rowOf(chart, 1), QStringList(10, QString())); // separators only: a row, no cells
        QCOMPARE(rowOf(chart, 2), QStringList({"H", "D", "x"}) + QStringList(7, QString()));
        QCOMPARE(rowOf(chart, 3), fullRowCells);
    }

    void twentyNinthLineFailsAndSkipsStrings()
    {
        QStringList messages;
        const StrategyChart chart = ChartFolder(lines(fullRow, 29), "a*b\n").import(messages);
        QCOMPARE(messages, QStringList{subscriptError});
        QCOMPARE(rowOf(chart, 27), fullRowCells);
        QCOMPARE(chart.chartStrings[0][0], QString());
    }

    void twelfthFieldFailsAfterTenCells()
    {
        QStringList messages;
        const StrategyChart chart = ChartFolder(fullRow + ",x\n" + fullRow, "a*b\n").import(messages);
        QCOMPARE(messages, QStringList{subscriptError});
        QCOMPARE(rowOf(chart, 0), fullRowCells);
        QCOMPARE(rowOf(chart, 1), QStringList(10, QString()));
    }

    void missingFiles()
    {
        QStringList messages;
        StrategyChart chart = ChartFolder(QByteArray(), "a*b\n").import(messages);
        QCOMPARE(messages, QStringList{"Error in import chart File not found"});
        QCOMPARE(chart.chartStrings[0][0], QString());

        chart = ChartFolder(fullRow).import(messages);
        QCOMPARE(messages, QStringList{"Error in import chart File not found"});
        QCOMPARE(rowOf(chart, 0), fullRowCells);
    }

    void strings()
    {
        QStringList messages;
        const QByteArray text = "8 or less*Always hit\n\n*Hand only*\nA2, A3*Double against 5 or 6, otherwise hit\r"
                                "caf\xe9\n" + lines("x*y", 11, "\r\n");
        const StrategyChart chart = ChartFolder(fullRow, text).import(messages);
        QCOMPARE(messages, QStringList());
        QCOMPARE(chart.chartStrings[0][1], QString("Always hit"));
        QCOMPARE(chart.chartStrings[1][0], QString("Hand only"));
        QCOMPARE(chart.chartStrings[1][1], QString());
        QCOMPARE(chart.chartStrings[2][1], QString("Double against 5 or 6, otherwise hit"));
        QCOMPARE(chart.chartStrings[3][0], QString::fromUtf8("café")); // 8-bit text
        QCOMPARE(chart.chartStrings[14][1], QString("y"));
        QCOMPARE(chart.chartStrings[15][0], QString());
        QCOMPARE(chart.chartStrings[20][1], QString());
    }

    void stringLimits()
    {
        QStringList messages;
        StrategyChart chart = ChartFolder(fullRow, lines("x*y", 22)).import(messages);
        QCOMPARE(messages, QStringList{subscriptError});
        QCOMPARE(chart.chartStrings[20][1], QString("y"));

        chart = ChartFolder(fullRow, "a*b*c\nd*e").import(messages);
        QCOMPARE(messages, QStringList{subscriptError});
        QCOMPARE(chart.chartStrings[0][1], QString("b"));
        QCOMPARE(chart.chartStrings[1][0], QString());
    }

    void hugeInputsStopAtTheLimit()
    {
        QStringList messages;
        StrategyChart chart = ChartFolder(lines(fullRow, 100'000)).import(messages);
        QCOMPARE(messages, QStringList{subscriptError});

        const QByteArray longLabel(10'000'000, 'x');
        chart = ChartFolder(longLabel + " s\n" + QByteArray("h,").repeated(5'000'000)).import(messages);
        QCOMPARE(messages, QStringList{subscriptError});
        QCOMPARE(chart.strategyChart[0][0], QString("s"));
        QCOMPARE(rowOf(chart, 1), QStringList(10, "h"));
    }

    void shippedFilesAreComplete()
    {
        AlertRecorder recorder;
        StrategyChart chart;
        chart.importChart(QStringLiteral(VANTREL_SOURCE_DIR "/data"));
        QCOMPARE(recorder.texts, QStringList());
        const QStringList codes = {"h", "s", "d", "p"};
        for (int row = 0; row < 28; ++row) {
            for (const QString &cell : rowOf(chart, row))
                QVERIFY2(codes.contains(cell), qPrintable(QStringLiteral("row %1: '%2'").arg(row).arg(cell)));
        }
        for (const auto &line : chart.chartStrings)
            QVERIFY(!line[0].trimmed().isEmpty() && !line[1].trimmed().isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestStrategyChart)
#include "test_strategychart.moc"
