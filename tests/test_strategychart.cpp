#include "AlertRecorder.h"
#include "StrategyChart.h"
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString subscriptError = QStringLiteral("Error in import chart Subscript out of range");
const QString notFound = QStringLiteral("Error in import chart File not found");
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
    if (content.isNull())
        return;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
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
        QTest::newRow("separators and line ends")
            << "\n\nH3-8,h,s,d,p,h,s,d,p,h,s\nH9 h s d p h s d p h s\r\n\r\n , H10 ,h, s ,d,,p  h s,d p,h , s,\r\r\r" + fullRow
            << QByteArray("a*b\r\n\r\nc*d") << none << QStringList(4, fullCells) << QStringList{"a*b", "c*d"};
        QTest::newRow("short rows and odd codes stored as given")
            << "H3-8 h\n , , \nH10 H,D,x\n" + fullRow << QByteArray("a*b") << none
            << QStringList{"h,,,,,,,,,", emptyCells, "H,D,x,,,,,,,", fullCells} << QStringList{"a*b"};
        QTest::newRow("captions") << fullRow
            << "8 or less*Always hit\n\n*Hand only*\nA2, A3*Double against 5 or 6, otherwise hit\rcaf\xe9\n"
                   + lines("x*y", 11, "\r\n")
            << none << QStringList{fullCells}
            << QStringList{"8 or less*Always hit", "Hand only*", "A2, A3*Double against 5 or 6, otherwise hit",
                           QString::fromUtf8("café*")} + QStringList(11, "x*y");
        QTest::newRow("29th row fails, captions skipped") << lines(fullRow, 29) << QByteArray("a*b\n")
            << QStringList{subscriptError} << QStringList(28, fullCells) << none;
        QTest::newRow("11th cell fails") << fullRow + ",x\n" + fullRow << QByteArray("a*b\n")
            << QStringList{subscriptError} << QStringList{fullCells} << none;
        QTest::newRow("no bjdata.txt") << noFile << QByteArray("a*b\n") << QStringList{notFound} << none << none;
        QTest::newRow("no bjstrings.txt") << fullRow << noFile << QStringList{notFound} << QStringList{fullCells} << none;
        QTest::newRow("22nd caption fails") << fullRow << lines("x*y", 22) << QStringList{subscriptError}
            << QStringList{fullCells} << QStringList(21, "x*y");
        QTest::newRow("third caption field fails") << fullRow << QByteArray("a*b*c\nd*e")
            << QStringList{subscriptError} << QStringList{fullCells} << QStringList{"a*b"};
        QTest::newRow("100,000 rows") << lines(fullRow, 100'000) << noFile << QStringList{subscriptError}
            << QStringList(28, fullCells) << none;
        QTest::newRow("huge label and row") << QByteArray(10'000'000, 'x') + " s\n" + QByteArray("h,").repeated(5'000'000)
            << noFile << QStringList{subscriptError} << QStringList{"s,,,,,,,,,", QString("h,").repeated(9) + "h"} << none;
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
