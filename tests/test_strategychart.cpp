#include "AlertRecorder.h"
#include "FileBytes.h"
#include "StrategyChart.h"
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString prefix = QStringLiteral("Error in import chart ");
const QByteArray fullRow = "H9 h,s,d,p,h,s,d,p,h,s";
const QString fullCells = QStringLiteral("h,s,d,p,h,s,d,p,h,s");
const QString emptyCells = QStringLiteral(",,,,,,,,,");
const QByteArray noFile; // null: the file is not written

QByteArray lines(const QByteArray &line, int count, const char *end = "\n")
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += line + end;
    return text;
}

// A whole chart: the given lines, then full rows up to 28.
QByteArray chartStarting(const QByteArray &first, int rows)
{
    return first + lines(fullRow, 28 - rows);
}

// Each chart row as its cells joined by commas, empty rows at the end left off.
QStringList rowsOf(const StrategyChart &chart)
{
    QStringList rows;
    for (const auto &row : chart.strategyChart)
        rows << QStringList(row.begin(), row.end()).join(QLatin1Char(','));
    while (!rows.isEmpty() && rows.last() == emptyCells)
        rows.removeLast();
    return rows;
}

// Each caption line as "group*advice", empty lines at the end left off.
QStringList captionsOf(const StrategyChart &chart)
{
    QStringList captions;
    for (const auto &line : chart.chartStrings)
        captions << line[0] + QLatin1Char('*') + line[1];
    while (!captions.isEmpty() && captions.last() == QLatin1String("*"))
        captions.removeLast();
    return captions;
}

void write(const QString &path, const QByteArray &content)
{
    if (!content.isNull())
        writeFile(path, content);
}
}

class TestStrategyChart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void importChart_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("strings");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("captions");
        const QStringList none;
        const QStringList full28(28, fullCells);
        QTest::newRow("separators and line ends")
            << chartStarting("\n\nH3-8,h,s,d,p,h,s,d,p,h,s\nH9 h s d p h s d p h s\r\n\r\n , H10 ,h, s ,d,,p  h s,d p,h , s,\r\r\r", 3)
            << QByteArray("a*b\r\n\r\nc*d") << none << full28 << QStringList{"a*b", "c*d"};
        // The tutor would have no advice for the up-cards left out.
        QTest::newRow("three of ten codes")
            << chartStarting("H3-8 h,s,d\n", 1) << QByteArray("a*b")
            << QStringList{prefix + "bjdata.txt line 1, column 11: the row has 3 of its 10 codes"}
            << QStringList{"h,s,d,,,,,,,"} + QStringList(27, fullCells) << QStringList{"a*b"};
        QTest::newRow("nine codes, trailing separators")
            << chartStarting(lines(fullRow, 4) + "\r\nH13 h,s,d,p,h,s,d,p,h ,\r\n", 5) << QByteArray("a*b")
            << QStringList{prefix + "bjdata.txt line 6, column 24: the row has 9 of its 10 codes"}
            << QStringList(4, fullCells) + QStringList{"h,s,d,p,h,s,d,p,h,"} + QStringList(23, fullCells)
            << QStringList{"a*b"};
        QTest::newRow("separators only, the first short row reported")
            << chartStarting("H3-8 h\n , , \n", 2) << QByteArray("a*b")
            << QStringList{prefix + "bjdata.txt line 1, column 7: the row has 1 of its 10 codes"}
            << QStringList{"h,,,,,,,,,", emptyCells} + QStringList(26, fullCells) << QStringList{"a*b"};
        QTest::newRow("label alone") << chartStarting(lines(fullRow, 27) + "P10", 28) << QByteArray("a*b")
            << QStringList{prefix + "bjdata.txt line 28, column 4: the row has 0 of its 10 codes"}
            << QStringList(27, fullCells) << QStringList{"a*b"};
        QTest::newRow("odd codes stored as given, the first reported")
            << chartStarting(fullRow + "\r\nH10 H,D,x,h,h,h,h,h,h,h\nH11 s\n", 3) << QByteArray("a*b")
            << QStringList{prefix + "bjdata.txt line 2, column 5: \"H\" is not one of h, s, d, p"}
            << QStringList{fullCells, "H,D,x,h,h,h,h,h,h,h", "s,,,,,,,,,"} + QStringList(25, fullCells)
            << QStringList{"a*b"};
        QTest::newRow("captions may be short") << chartStarting("", 0) << QByteArray("a\n***\n*b\nc*d")
            << none << full28 << QStringList{"a*", "*", "b*", "c*d"};
        QTest::newRow("captions in UTF-8, Latin-1 and with a byte-order mark")
            << chartStarting("", 0)
            << "\xEF\xBB\xBF" "8 or less*Always hit\n\n*Hand only*\nA2, A3*Double against 5 or 6, otherwise hit\r"
               "caf\xC3\xA9*\xE2\x82\xAC\n" + lines("x*y", 10, "\r\n")
            << none << full28
            << QStringList{"8 or less*Always hit", "Hand only*", "A2, A3*Double against 5 or 6, otherwise hit",
                           QString::fromUtf8("café*€")} + QStringList(10, "x*y");
        QTest::newRow("not UTF-8: Latin-1") << chartStarting("", 0) << QByteArray("\xEF\xBB\xBF" "caf\xE9*\xA3")
            << none << full28 << QStringList{QString::fromUtf8("café*£")};
        QTest::newRow("29th row fails, captions still read") << lines(fullRow, 29) << QByteArray("a*b\n")
            << QStringList{prefix + "bjdata.txt line 29, column 1: more than 28 lines"} << full28 << QStringList{"a*b"};
        QTest::newRow("11th cell fails") << fullRow + ",x\n" + fullRow << QByteArray("a*b\n")
            << QStringList{prefix + "bjdata.txt line 1, column 24: more than 11 fields"} << QStringList{fullCells}
            << QStringList{"a*b"};
        QTest::newRow("too few rows") << lines(fullRow, 10) + "\n\n" << QByteArray("a*b")
            << QStringList{prefix + "bjdata.txt line 13, column 1: the chart has 10 of its 28 rows"}
            << QStringList(10, fullCells) << QStringList{"a*b"};
        QTest::newRow("empty chart") << QByteArray("") << QByteArray("a*b")
            << QStringList{prefix + "bjdata.txt line 1, column 1: the chart has 0 of its 28 rows"} << none
            << QStringList{"a*b"};
        QTest::newRow("no bjdata.txt") << noFile << QByteArray("a*b\n")
            << QStringList{prefix + "bjdata.txt: File not found"} << none << QStringList{"a*b"};
        QTest::newRow("no bjstrings.txt") << chartStarting("", 0) << noFile
            << QStringList{prefix + "bjstrings.txt: File not found"} << full28 << none;
        QTest::newRow("22nd caption fails") << chartStarting("", 0) << lines("x*y", 22)
            << QStringList{prefix + "bjstrings.txt line 22, column 1: more than 21 lines"} << full28
            << QStringList(21, "x*y");
        QTest::newRow("third caption field fails") << chartStarting("", 0) << QByteArray("a*b*c\nd*e")
            << QStringList{prefix + "bjstrings.txt line 1, column 5: more than 2 fields"} << full28 << QStringList{"a*b"};
        QTest::newRow("over 1 MB, both") << lines(fullRow, 50'000) << QByteArray(1024 * 1024 + 1, 'x')
            << QStringList{prefix + "bjdata.txt: File larger than 1 MB", prefix + "bjstrings.txt: File larger than 1 MB"}
            << none << none;
        QTest::newRow("exactly 1 MB is read") << chartStarting("", 0) + QByteArray(1024 * 1024 - 644, '\n')
            << QByteArray("a*b") << none << full28 << QStringList{"a*b"};
    }

    void importChart()
    {
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, strings);
        QTemporaryDir dir;
        write(dir.filePath("bjdata.txt"), data);
        write(dir.filePath("bjstrings.txt"), strings);
        AlertRecorder recorder;
        StrategyChart chart;
        chart.importChart(dir.path());
        QTEST(recorder.texts, "messages");
        QTEST(rowsOf(chart), "rows");
        QTEST(captionsOf(chart), "captions");
    }

    void shippedFilesAreComplete()
    {
        AlertRecorder recorder;
        StrategyChart chart;
        chart.importChart(QStringLiteral(VANTREL_SOURCE_DIR "/data"));
        QCOMPARE(recorder.texts, QStringList());
        const QStringList codes = {"h", "s", "d", "p"};
        for (const auto &row : chart.strategyChart)
            for (const QString &cell : row)
                QVERIFY2(codes.contains(cell), qPrintable(cell));
        for (const auto &line : chart.chartStrings)
            QVERIFY(!line[0].trimmed().isEmpty() && !line[1].trimmed().isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestStrategyChart)
#include "test_strategychart.moc"
