#include "CasinoChart.h"
#include "CasinoChartWording.h"
#include <QtTest>

namespace {
using Code = CasinoChart::Code;
using Play = CasinoChart::Play;

// A published basic strategy for 4 to 8 decks, dealer stands on soft 17,
// double after split; surrender cells added to exercise every code.
const char *const sixDeckChart =
    "H4-7    h,h,h,h,h,h,h,h,h,h\n"
    "H8      h,h,h,h,h,h,h,h,h,h\n"
    "H9      h,d,d,d,d,h,h,h,h,h\n"
    "H10     d,d,d,d,d,d,d,d,h,h\n"
    "H11     d,d,d,d,d,d,d,d,d,h\n"
    "H12     h,h,s,s,s,h,h,h,h,h\n"
    "H13     s,s,s,s,s,h,h,h,h,h\n"
    "H14     s,s,s,s,s,h,h,h,h,h\n"
    "H15     s,s,s,s,s,h,h,h,r,h\n"
    "H16     s,s,s,s,s,h,h,r,r,r\n"
    "H17     s,s,s,s,s,s,s,s,s,rs\n"
    "H18-20  s,s,s,s,s,s,s,s,s,s\n"
    "A2      h,h,h,d,d,h,h,h,h,h\n"
    "A3      h,h,h,d,d,h,h,h,h,h\n"
    "A4      h,h,d,d,d,h,h,h,h,h\n"
    "A5      h,h,d,d,d,h,h,h,h,h\n"
    "A6      h,d,d,d,d,h,h,h,h,h\n"
    "A7      s,ds,ds,ds,ds,s,s,h,h,h\n"
    "A8      s,s,s,s,s,s,s,s,s,s\n"
    "A9      s,s,s,s,s,s,s,s,s,s\n"
    "AA      p,p,p,p,p,p,p,p,p,p\n"
    "22      p,p,p,p,p,p,h,h,h,h\n"
    "33      p,p,p,p,p,p,h,h,h,h\n"
    "44      h,h,h,p,p,h,h,h,h,h\n"
    "55      d,d,d,d,d,d,d,d,h,h\n"
    "66      p,p,p,p,p,h,h,h,h,h\n"
    "77      p,p,p,p,p,p,h,h,h,h\n"
    "88      p,p,p,p,p,p,p,p,p,rp\n"
    "99      p,p,p,p,p,s,p,p,s,s\n"
    "1010    s,s,s,s,s,s,s,s,s,s\n";

CasinoChart chart()
{
    std::string error;
    const std::optional<CasinoChart> chart = CasinoChart::fromText(sixDeckChart, &error);
    if (!chart)
        qFatal("%s", error.c_str());
    return *chart;
}

// The chart text with one line replaced (1-based), or removed when `line` is empty.
std::string withLine(int number, const std::string &line)
{
    std::string text = sixDeckChart;
    std::size_t start = 0;
    for (int i = 1; i < number; ++i)
        start = text.find('\n', start) + 1;
    const std::size_t end = text.find('\n', start) + 1;
    return text.replace(start, end - start, line.empty() ? "" : line + "\n");
}
} // namespace

Q_DECLARE_METATYPE(Play)

class TestCasinoChart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void textRoundTrip()
    {
        const CasinoChart read = chart();
        QCOMPARE(read.toText(), std::string(sixDeckChart));
        QCOMPARE(read.code(CasinoChart::pairRow(8), CasinoChart::column(1)), Code::SurrenderElseSplit);
        QCOMPARE(read.code(CasinoChart::totalRow(17, false), CasinoChart::column(1)), Code::SurrenderElseStand);
        QCOMPARE(read.code(CasinoChart::totalRow(18, true), CasinoChart::column(3)), Code::DoubleElseStand);
        std::string error;
        const auto spaced = CasinoChart::fromText("\n\r\n" + std::string(sixDeckChart) + "\n", &error);
        QVERIFY2(spaced && *spaced == read, error.c_str());
        CasinoChart changed = read;
        changed.setCode(0, 0, Code::Stand);
        QVERIFY(changed != read);
    }

    void refusesBadText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");
        QTest::newRow("unknown code") << QString::fromStdString(withLine(3, "H9      h,d,d,x,d,h,h,h,h,h"))
                                      << "line 3: H9 column 4: unknown code \"x\"";
        QTest::newRow("upper case code") << QString::fromStdString(withLine(30, "1010    s,s,s,s,s,s,s,s,s,S"))
                                         << "line 30: 1010 column 10: unknown code \"S\"";
        QTest::newRow("nine codes") << QString::fromStdString(withLine(5, "H11     d,d,d,d,d,d,d,d,d"))
                                    << "line 5: H11 has 9 codes, not 10";
        QTest::newRow("eleven codes") << QString::fromStdString(withLine(5, "H11     d,d,d,d,d,d,d,d,d,h,h"))
                                      << "line 5: H11 has 11 codes, not 10";
        QTest::newRow("row out of order") << QString::fromStdString(withLine(2, "H9      h,h,h,h,h,h,h,h,h,h"))
                                          << "line 2: row H9 where H8 belongs";
        QTest::newRow("missing last row") << QString::fromStdString(withLine(30, ""))
                                          << "rows end before 1010";
        QTest::newRow("row too many") << QString(sixDeckChart) + "1010    s,s,s,s,s,s,s,s,s,s\n"
                                      << "line 31: more than 30 rows";
        QTest::newRow("empty") << "" << "rows end before H4-7";
    }
    void refusesBadText()
    {
        QFETCH(QString, text);
        QFETCH(QString, named);
        std::string error;
        QVERIFY(!CasinoChart::fromText(text.toStdString(), &error));
        QVERIFY2(QString::fromStdString(error).contains(named), error.c_str());
    }

    void playForAHand_data()
    {
        QTest::addColumn<int>("hardSum");
        QTest::addColumn<bool>("hasAce");
        QTest::addColumn<int>("pair");
        QTest::addColumn<int>("up");
        QTest::addColumn<bool>("mayDouble");
        QTest::addColumn<bool>("maySplit");
        QTest::addColumn<bool>("maySurrender");
        QTest::addColumn<Play>("play");
        QTest::newRow("11 v 6 doubles") << 11 << false << 0 << 6 << true << false << false << Play::Double;
        QTest::newRow("d without double hits") << 11 << false << 0 << 6 << false << false << false << Play::Hit;
        QTest::newRow("A7 v 4 doubles") << 8 << true << 0 << 4 << true << false << false << Play::Double;
        QTest::newRow("ds without double stands") << 8 << true << 0 << 4 << false << false << false << Play::Stand;
        QTest::newRow("soft 18 drawn to v 9 hits") << 8 << true << 0 << 9 << false << false << false << Play::Hit;
        QTest::newRow("16 v 10 surrenders") << 16 << false << 0 << 10 << true << false << true << Play::Surrender;
        QTest::newRow("r without surrender hits") << 16 << false << 0 << 10 << true << false << false << Play::Hit;
        QTest::newRow("17 v ace surrenders") << 17 << false << 0 << 1 << true << false << true << Play::Surrender;
        QTest::newRow("rs without surrender stands") << 17 << false << 0 << 1 << true << false << false << Play::Stand;
        QTest::newRow("8-8 v ace surrenders") << 16 << false << 8 << 1 << true << true << true << Play::Surrender;
        QTest::newRow("rp without surrender splits") << 16 << false << 8 << 1 << true << true << false << Play::Split;
        QTest::newRow("8-8 past the limit reads 16") << 16 << false << 8 << 1 << true << false << true
                                                     << Play::Surrender;
        QTest::newRow("8-8 v 7 past the limit hits") << 16 << false << 8 << 7 << true << false << false << Play::Hit;
        QTest::newRow("9-9 v 7 stands") << 18 << false << 9 << 7 << true << true << false << Play::Stand;
        QTest::newRow("5-5 v 6 doubles") << 10 << false << 5 << 6 << true << true << false << Play::Double;
        QTest::newRow("4-4 v 5 splits") << 8 << false << 4 << 5 << true << true << false << Play::Split;
        QTest::newRow("4-4 v 5 unsplit reads 8") << 8 << false << 4 << 5 << true << false << false << Play::Hit;
        QTest::newRow("aces unsplit hit") << 2 << true << 1 << 6 << true << false << false << Play::Hit;
        QTest::newRow("soft 21 stands") << 11 << true << 0 << 6 << true << false << false << Play::Stand;
        QTest::newRow("hard 21 stands") << 21 << false << 0 << 6 << false << false << false << Play::Stand;
        QTest::newRow("hard 5 reads H4-7") << 5 << false << 0 << 6 << true << false << false << Play::Hit;
        QTest::newRow("hard 13 v 2 stands") << 13 << false << 0 << 2 << false << false << false << Play::Stand;
        QTest::newRow("soft 13 v 5 doubles") << 3 << true << 0 << 5 << true << false << false << Play::Double;
        QTest::newRow("A6 v 2 hits") << 7 << true << 0 << 2 << true << false << false << Play::Hit;
        QTest::newRow("hard 12 with an ace v 4 stands") << 12 << true << 0 << 4 << false << false << false
                                                        << Play::Stand;
    }
    void playForAHand()
    {
        QFETCH(int, hardSum);
        QFETCH(bool, hasAce);
        QFETCH(int, pair);
        QFETCH(int, up);
        QFETCH(bool, mayDouble);
        QFETCH(bool, maySplit);
        QFETCH(bool, maySurrender);
        QFETCH(Play, play);
        QCOMPARE(chart().play(hardSum, hasAce, pair, up, {mayDouble, maySplit, maySurrender}), play);
    }

    void playForCards()
    {
        auto hand = [](std::initializer_list<int> ranks) {
            Hand hand;
            for (int rank : ranks)
                hand.add(Card::fromIndex((rank - 1) * 4));
            return hand;
        };
        const CasinoChart read = chart();
        const CasinoChart::Allowed all{true, true, true};
        QCOMPARE(read.play(hand({10, 12}), 6, all), Play::Stand);    // ten and queen read 1010
        QCOMPARE(read.play(hand({8, 8}), 1, all), Play::Surrender);
        QCOMPARE(read.play(hand({2, 1}), 5, all), Play::Double);     // soft 13
        QCOMPARE(read.play(hand({2, 1, 10}), 5, all), Play::Stand);  // hard 13
        QCOMPARE(read.play(hand({4, 4}), 5, all), Play::Split);
        QCOMPARE(read.play(hand({4, 3, 1}), 5, all), Play::Double);  // three cards, soft 18: the caller allows
    }

    void chartInWords()
    {
        const auto words = CasinoChartWording::of(chart());
        QCOMPARE(int(words.size()), 21);
        const std::pair<const char *, const char *> expected[] = {
            {"4 to 8", "Always hit"},
            {"9", "Double against 3 to 6, otherwise hit"},
            {"12", "Stand against 4 to 6, otherwise hit"},
            {"13 to 16", "13, 14: Stand against 2 to 6, otherwise hit; 15: Surrender against 10, hit against 7 to 9 "
                         "and ace, otherwise stand; 16: Surrender against 9 to ace, hit against 7 and 8, otherwise "
                         "stand"},
            {"17 to 20", "17: Surrender (else stand) against ace, otherwise stand; 18 to 20: Always stand"},
            {"A2, A3", "Double against 5 and 6, otherwise hit"},
            {"A7", "Double (else stand) against 3 to 6, stand against 2, 7 and 8, otherwise hit"},
            {"A, A", "Always split"},
            {"2-2, 3-3", "Hit against 8 to ace, otherwise split"},
            {"8-8", "Surrender (else split) against ace, otherwise split"},
            {"9-9", "Stand against 7, 10 and ace, otherwise split"},
            {"10-10", "Always stand"},
        };
        for (const auto &[group, advice] : expected) {
            const char *const wanted = group; // a lambda may not capture a structured binding before C++20
            const auto line = std::find_if(words.begin(), words.end(),
                                           [wanted](const CasinoChartWording::Line &l) { return l[0] == wanted; });
            QVERIFY2(line != words.end(), group);
            QCOMPARE(QString::fromStdString((*line)[1]), QString(advice));
        }
    }
};

QTEST_APPLESS_MAIN(TestCasinoChart)
#include "test_casinochart.moc"
