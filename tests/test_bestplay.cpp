#include "AlertRecorder.h"
#include "BestPlay.h"
#include "HandOf.h"
#include <QtTest>

namespace {
// Every cell names its own place, so an answer shows which cell was read.
StrategyChart labelledChart()
{
    StrategyChart chart;
    for (int row = 0; row < 28; ++row) {
        for (int column = 0; column < 10; ++column)
            chart.strategyChart[std::size_t(row)][std::size_t(column)] = QStringLiteral("%1/%2").arg(row).arg(column);
    }
    return chart;
}
}

class TestBestPlay : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookup_data()
    {
        QTest::addColumn<QList<int>>("ranks");
        QTest::addColumn<int>("upCard");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("line");
        QTest::newRow("8-8 v 6") << QList<int>{8, 8} << 6 << "25/4" << 18;
        QTest::newRow("A-7 v ace") << QList<int>{1, 7} << 1 << "15/9" << 10;
        QTest::newRow("7-A v 10") << QList<int>{7, 1} << 10 << "15/8" << 10;
        QTest::newRow("A-A") << QList<int>{1, 1} << 5 << "18/3" << 12;
        QTest::newRow("2-2") << QList<int>{2, 2} << 2 << "19/0" << 13;
        QTest::newRow("3-3") << QList<int>{3, 3} << 2 << "20/0" << 13;
        QTest::newRow("4-4") << QList<int>{4, 4} << 2 << "21/0" << 14;
        QTest::newRow("5-5") << QList<int>{5, 5} << 2 << "22/0" << 15;
        QTest::newRow("6-6") << QList<int>{6, 6} << 2 << "23/0" << 16;
        QTest::newRow("7-7") << QList<int>{7, 7} << 2 << "24/0" << 17;
        QTest::newRow("9-9") << QList<int>{9, 9} << 2 << "26/0" << 19;
        QTest::newRow("10-10") << QList<int>{10, 10} << 2 << "27/0" << 20;
        QTest::newRow("Q-Q") << QList<int>{12, 12} << 2 << "27/0" << 20;
        QTest::newRow("K-J hard 20") << QList<int>{13, 11} << 7 << "9/5" << 6;
        QTest::newRow("A-2") << QList<int>{1, 2} << 3 << "10/1" << 7;
        QTest::newRow("A-3") << QList<int>{3, 1} << 3 << "11/1" << 7;
        QTest::newRow("A-4") << QList<int>{1, 4} << 3 << "12/1" << 8;
        QTest::newRow("A-5") << QList<int>{1, 5} << 3 << "13/1" << 8;
        QTest::newRow("A-6") << QList<int>{1, 6} << 3 << "14/1" << 9;
        QTest::newRow("A-8") << QList<int>{1, 8} << 3 << "16/1" << 11;
        QTest::newRow("A-9") << QList<int>{9, 1} << 3 << "17/1" << 11;
        QTest::newRow("3 cards 12 v 2") << QList<int>{5, 4, 3} << 2 << "4/0" << 4;
        QTest::newRow("4-4-4 is no pair") << QList<int>{4, 4, 4} << 2 << "4/0" << 4;
        QTest::newRow("A-7-2 soft 20") << QList<int>{1, 7, 2} << 2 << "17/0" << 11;
        QTest::newRow("A-2-3 soft 16") << QList<int>{1, 2, 3} << 9 << "13/7" << 8;
        QTest::newRow("A-A-A soft 13") << QList<int>{1, 1, 1} << 9 << "10/7" << 7;
        QTest::newRow("A-A-A-2 soft 15") << QList<int>{1, 1, 1, 2} << 9 << "12/7" << 8;
        QTest::newRow("3-A-3 soft 17") << QList<int>{3, 1, 3} << 9 << "14/7" << 9;
        QTest::newRow("2-A-5 soft 18") << QList<int>{2, 1, 5} << 9 << "15/7" << 10;
        QTest::newRow("A-9-5 hard 15") << QList<int>{1, 9, 5} << 9 << "7/7" << 5;
        QTest::newRow("A-5-5 soft 21 ends") << QList<int>{1, 5, 5} << 9 << "" << -5;
        QTest::newRow("2-3 hard 5") << QList<int>{2, 3} << 4 << "0/2" << 0;
        QTest::newRow("4-5") << QList<int>{4, 5} << 4 << "1/2" << 1;
        QTest::newRow("4-6") << QList<int>{4, 6} << 4 << "2/2" << 2;
        QTest::newRow("5-6") << QList<int>{5, 6} << 4 << "3/2" << 3;
        QTest::newRow("10-2") << QList<int>{10, 2} << 4 << "4/2" << 4;
        QTest::newRow("10-3") << QList<int>{10, 3} << 4 << "5/2" << 5;
        QTest::newRow("10-4") << QList<int>{10, 4} << 4 << "6/2" << 5;
        QTest::newRow("10-5") << QList<int>{10, 5} << 4 << "7/2" << 5;
        QTest::newRow("10-6") << QList<int>{10, 6} << 4 << "8/2" << 5;
        QTest::newRow("10-7") << QList<int>{10, 7} << 4 << "9/2" << 6;
        QTest::newRow("21 has no row") << QList<int>{10, 5, 6} << 4 << "" << -5;
        QTest::newRow("bust has no row") << QList<int>{10, 5, 8} << 4 << "" << -5;
        QTest::newRow("A-K has no row") << QList<int>{1, 13} << 4 << "" << -5;
    }
    void lookup()
    {
        QFETCH(QList<int>, ranks);
        QFETCH(int, upCard);
        QFETCH(QString, cell);
        QFETCH(int, line);
        const StrategyChart chart = labelledChart();
        const Hand hand = handOf(ranks);
        int16_t dealerTotal = int16_t(upCard);
        int16_t theChartLine = -5;
        QCOMPARE(BestPlay(chart).chartLookup(hand, handTotal(hand), dealerTotal, theChartLine), cell);
        QCOMPARE(int(theChartLine), line);
        QCOMPARE(int(dealerTotal), upCard == 1 ? 11 : upCard);
    }

    // Answers from a chart of nothing but "d" cells, where a drawn hand cannot
    // double (a soft 18 or more stands, the rest hit), and from the shipped
    // chart on the drawn soft hands it leads into, with the play exact values favour.
    void answer_data()
    {
        QTest::addColumn<bool>("shipped");
        QTest::addColumn<QList<int>>("ranks");
        QTest::addColumn<int>("upCard");
        QTest::addColumn<QString>("answer");
        QTest::newRow("5-6") << false << QList<int>{5, 6} << 5 << "d";
        QTest::newRow("A-7") << false << QList<int>{1, 7} << 5 << "d";
        QTest::newRow("2-3-6 hard 11") << false << QList<int>{2, 3, 6} << 5 << "h";
        QTest::newRow("A-2-4 soft 17") << false << QList<int>{1, 2, 4} << 5 << "h";
        QTest::newRow("A-2-3-2 soft 18") << false << QList<int>{1, 2, 3, 2} << 5 << "s";
        QTest::newRow("A-A-7 soft 19") << false << QList<int>{1, 1, 7} << 5 << "s";
        QTest::newRow("A-9-2 hard 12") << false << QList<int>{1, 9, 2} << 5 << "h";
        QTest::newRow("shipped A-2-3 v 4") << true << QList<int>{1, 2, 3} << 4 << "h";
        QTest::newRow("shipped A-2-3 v 6") << true << QList<int>{1, 2, 3} << 6 << "h";
        QTest::newRow("shipped A-2-4 v 10") << true << QList<int>{1, 2, 4} << 10 << "h";
        QTest::newRow("shipped A-3-3 v 5") << true << QList<int>{1, 3, 3} << 5 << "h";
        QTest::newRow("shipped A-3-4 v 4") << true << QList<int>{1, 3, 4} << 4 << "s";
    }
    void answer()
    {
        QFETCH(bool, shipped);
        QFETCH(QList<int>, ranks);
        QFETCH(int, upCard);
        StrategyChart chart;
        if (shipped)
            chart.importChart(QStringLiteral(VANTREL_SOURCE_DIR "/data"));
        else
            for (auto &row : chart.strategyChart)
                row.fill(QStringLiteral("d"));
        int16_t dealerTotal = int16_t(upCard);
        int16_t line = 0;
        const Hand hand = handOf(ranks);
        QTEST(BestPlay(chart).chartLookup(hand, handTotal(hand), dealerTotal, line), "answer");
    }

    void upCardOutsideTheColumnsFails()
    {
        const StrategyChart chart = labelledChart();
        AlertRecorder recorder;
        int16_t line = 0;
        for (int16_t dealerTotal : {int16_t(0), int16_t(12)})
            QCOMPARE(BestPlay(chart).chartLookup(handOf({10, 6}), 16, dealerTotal, line), QString());
        QCOMPARE(recorder.texts, QStringList(2, "Subscript out of range"));
    }
};

QTEST_APPLESS_MAIN(TestBestPlay)
#include "test_bestplay.moc"
