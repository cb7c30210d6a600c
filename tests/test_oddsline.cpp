#include "OddsLine.h"
#include <QtTest>

class TestOddsLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void text_data()
    {
        QTest::addColumn<double>("stand");
        QTest::addColumn<double>("hit");
        QTest::addColumn<double>("doubleDown"); // NaN: not open to the player
        QTest::addColumn<double>("split");
        QTest::addColumn<QString>("stopped");
        QTest::addColumn<QString>("line");
        const double none = std::nan("");
        QTest::newRow("drawn hand") << -13.64 << -12.66 << none << none << "" << "Stand -13.6  Hit -12.7";
        QTest::newRow("two cards") << -13.6 << -12.7 << -25.3 << none << "" << "Stand -13.6  Hit -12.7  Double -25.3";
        QTest::newRow("pair") << 3.0 << -4.0 << -8.0 << 5.25 << "" << "Stand 3.0  Hit -4.0  Double -8.0  Split 5.3";
        QTest::newRow("stand stopped") << -17.4 << -4.2 << none << none << "s"
                                       << "Stand -17.4  Hit -4.2  (Stand costs 13.2)";
        QTest::newRow("hit stopped, stand best") << 6.04 << -2.0 << -4.0 << none << "h"
                                                 << "Stand 6.0  Hit -2.0  Double -4.0  (Hit costs 8.0)";
        QTest::newRow("double stopped, split best") << -5.0 << -4.0 << -6.0 << 1.0 << "d"
                                                    << "Stand -5.0  Hit -4.0  Double -6.0  Split 1.0  (Double costs 7.0)";
        QTest::newRow("stopped on the best figure") << 1.0 << 0.5 << none << none << "s"
                                                    << "Stand 1.0  Hit 0.5  (Stand costs 0.0)";
        QTest::newRow("no figure for the code") << 1.0 << 0.5 << none << none << "d" << "Stand 1.0  Hit 0.5";
    }
    void text()
    {
        QFETCH(double, stand);
        QFETCH(double, hit);
        QFETCH(double, doubleDown);
        QFETCH(double, split);
        QFETCH(QString, stopped);
        ActionOdds odds;
        odds.stand = stand;
        odds.hit = hit;
        if (!std::isnan(doubleDown))
            odds.doubleDown = doubleDown;
        if (!std::isnan(split))
            odds.split = split;
        QTEST(OddsLine::text(odds, stopped), "line");
    }
};

QTEST_APPLESS_MAIN(TestOddsLine)
#include "test_oddsline.moc"
