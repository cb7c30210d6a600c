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
        QTest::addColumn<int>("stake");
        QTest::addColumn<QString>("advice");
        QTest::addColumn<QString>("stopped");
        QTest::addColumn<QString>("line");
        const double none = std::nan("");
        QTest::newRow("drawn hand") << -13.64 << -12.66 << none << none << 25 << "h" << ""
                                    << "Stand -13.6  Hit -12.7 in chips on your 25 stake";
        QTest::newRow("doubled stake named") << -13.6 << -12.7 << none << none << 50 << "h" << ""
                                             << "Stand -13.6  Hit -12.7 in chips on your 50 stake";
        QTest::newRow("two cards") << -13.6 << -12.7 << -25.3 << none << 25 << "h" << ""
                                   << "Stand -13.6  Hit -12.7  Double -25.3 in chips on your 25 stake";
        QTest::newRow("pair") << 3.0 << -4.0 << -8.0 << 5.25 << 25 << "p" << ""
                              << "Stand 3.0  Hit -4.0  Double -8.0  Split 5.3 in chips on your 25 stake";
        QTest::newRow("stand stopped") << -17.4 << -4.2 << none << none << 25 << "h" << "s"
                                       << "Stand -17.4  Hit -4.2 in chips on your 25 stake  (Stand costs 13.2)";
        QTest::newRow("hit stopped, stand advised") << 6.04 << -2.0 << -4.0 << none << 25 << "s" << "h"
                                                    << "Stand 6.0  Hit -2.0  Double -4.0 in chips on your 25 stake"
                                                       "  (Hit costs 8.0)";
        QTest::newRow("double stopped, split advised") << -5.0 << -4.0 << -6.0 << 1.0 << 25 << "p" << "d"
                                                       << "Stand -5.0  Hit -4.0  Double -6.0  Split 1.0 in chips on"
                                                          " your 25 stake  (Double costs 7.0)";
        // The cost is counted from the advice, not from the best figure.
        QTest::newRow("stopped below an advice that is not the best")
            << -9.2 << -6.5 << -13.2 << none << 25 << "h" << "d"
            << "Stand -9.2  Hit -6.5  Double -13.2 in chips on your 25 stake  (Double costs 6.7)";
        QTest::newRow("stopped choice better here than the chart")
            << -5.0 << -5.4 << none << none << 25 << "h" << "s"
            << "Stand -5.0  Hit -5.4 in chips on your 25 stake\n"
               "For these exact cards Stand is 0.4 chips better; the chart plays the total";
        QTest::newRow("chart's pair split beaten here")
            << -4.0 << -6.0 << -12.0 << -4.5 << 25 << "p" << ""
            << "Stand -4.0  Hit -6.0  Double -12.0  Split -4.5 in chips on your 25 stake\n"
               "For these exact cards Stand is 0.5 chips better; the chart plays the pair";
        QTest::newRow("a tie as shown is no disagreement") << -5.01 << -4.96 << none << none << 25 << "h" << ""
                                                           << "Stand -5.0  Hit -5.0 in chips on your 25 stake";
        QTest::newRow("advice with no figure: cost from the best")
            << 1.0 << 0.5 << none << none << 25 << "d" << "h"
            << "Stand 1.0  Hit 0.5 in chips on your 25 stake  (Hit costs 0.5)";
        QTest::newRow("no figure for the stopped code") << 1.0 << 0.5 << none << none << 25 << "s" << "d"
                                                        << "Stand 1.0  Hit 0.5 in chips on your 25 stake";
    }
    void text()
    {
        QFETCH(double, stand);
        QFETCH(double, hit);
        QFETCH(double, doubleDown);
        QFETCH(double, split);
        QFETCH(int, stake);
        QFETCH(QString, advice);
        QFETCH(QString, stopped);
        ActionOdds odds;
        odds.stand = stand;
        odds.hit = hit;
        if (!std::isnan(doubleDown))
            odds.doubleDown = doubleDown;
        if (!std::isnan(split))
            odds.split = split;
        QTEST(OddsLine::text(odds, stake, advice, stopped), "line");
    }
};

QTEST_APPLESS_MAIN(TestOddsLine)
#include "test_oddsline.moc"
