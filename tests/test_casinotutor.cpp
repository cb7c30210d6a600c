// A casino table's pieces without a window: the named tables, the stored
// rules, the chart kept per table, the hands' layout, the row a hand reads,
// and the odds line's surrender and insurance.
#include "AlertRecorder.h"
#include "CasinoChartCache.h"
#include "CasinoChartWording.h"
#include "HandOf.h"
#include "HandsLayout.h"
#include "OddsLine.h"
#include "RulesCaption.h"
#include "RulesText.h"
#include "SettingsStore.h"
#include "StoredTableRules.h"
#include "TableRulesPresets.h"
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class CasinoTutorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void presetsNameTheirTables_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("shortName");
        QTest::newRow("program") << 0 << "Vantrel table";
        QTest::newRow("shoe with surrender") << 1 << "6 decks, S17, DAS, 3:2, late surrender";
        QTest::newRow("eight decks") << 2 << "8 decks, S17, DAS, 3:2";
        QTest::newRow("double deck") << 3 << "2 decks, H17, DAS, 3:2";
        QTest::newRow("single deck 6:5") << 4 << "1 deck, H17, DAS, 6:5";
        QTest::newRow("european") << 5 << "6 decks, S17, DAS, 3:2, no hole card";
    }

    void presetsNameTheirTables()
    {
        QFETCH(int, row);
        QFETCH(QString, shortName);
        const auto &preset = TableRulesPresets::all().at(static_cast<std::size_t>(row));
        const std::optional<GameRules> rules = RulesText::parse(preset.rulesText);
        QVERIFY(rules);
        QCOMPARE(QString::fromStdString(RulesCaption::shortName(*rules)), shortName);
    }

    void storedRulesRoundTrip()
    {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        AlertRecorder alerts;
        QVERIFY(!StoredTableRules::load().rules.casino); // nothing stored: the program's table
        const GameRules chosen = *RulesText::parse("decks=2,soft17=hit,surrender=late");
        QVERIFY(StoredTableRules::save(chosen));
        QCOMPARE(StoredTableRules::load().text, RulesText::format(chosen));
        // The preferences' own section is left alone.
        QCOMPARE(SettingsStore().read(QStringLiteral("rules"), QStringLiteral("<absent>")), QStringLiteral("<absent>"));
        QVERIFY(alerts.texts.isEmpty());

        SettingsStore table(QStringLiteral("Table"));
        table.write(QStringLiteral("rules"), QStringLiteral("decks=6,peek=yes"));
        QVERIFY(table.commit());
        const StoredTableRules::Table bad = StoredTableRules::load();
        QVERIFY(!bad.rules.casino);
        QCOMPARE(alerts.texts.size(), 1);
        QVERIFY(alerts.texts[0].contains(QLatin1String("peek")));
    }

    void chartIsDerivedOncePerTable()
    {
        QTemporaryDir data;
        CasinoChartCache cache(data.path());
        const GameRules single = *RulesText::parse("decks=1,soft17=hit");
        const CasinoChart derived = cache.chartFor(single);
        QVERIFY(cache.derived());
        QCOMPARE(cache.chartFor(single), derived);
        QVERIFY(!cache.derived());

        // A file that holds another table's chart, or no chart, is derived again.
        const GameRules other = *RulesText::parse("decks=1,soft17=stand");
        QVERIFY(cache.fileFor(other) != cache.fileFor(single));
        QVERIFY(QFile::copy(cache.fileFor(single), cache.fileFor(other)));
        const CasinoChart otherChart = cache.chartFor(other);
        QVERIFY(cache.derived());
        QVERIFY(otherChart != derived); // soft 17 changes some cells
        QFile garbled(cache.fileFor(single));
        QVERIFY(garbled.open(QIODevice::WriteOnly | QIODevice::Truncate));
        garbled.write("rules " + QByteArray::fromStdString(RulesText::format(single)) + "\nH4-7 x\n");
        garbled.close();
        QCOMPARE(cache.chartFor(single), derived);
        QVERIFY(cache.derived());
    }

    void handsFitTheArea_data()
    {
        QTest::addColumn<QList<int>>("cards");
        QTest::addColumn<double>("scale");
        QTest::newRow("one hand") << QList<int>{2} << 1.0;
        QTest::newRow("four short hands at full size") << QList<int>{2, 2, 2, 2} << 1.0;
        QTest::newRow("four hands of three drawn closer") << QList<int>{3, 3, 3, 3} << 1.0;
        QTest::newRow("four long hands smaller") << QList<int>{4, 4, 5, 4} << 0.85;
        QTest::newRow("never below the readable size") << QList<int>{9, 9, 9, 9} << HandsLayout::smallestScale;
    }

    void handsFitTheArea()
    {
        QFETCH(QList<int>, cards);
        QFETCH(double, scale);
        constexpr int width = 440, cardSpace = 16;
        const HandsLayout layout(std::vector<int>(cards.begin(), cards.end()), width, QSize(71, 96), cardSpace);
        QCOMPARE(layout.scale(), scale);
        const int hands = cards.size();
        for (int hand = 0; hand < hands; ++hand) {
            if (scale > HandsLayout::smallestScale) {
                QVERIFY(layout.handRect(hand).left() >= 0);
                QVERIFY(layout.handRect(hand).right() < width);
            }
            if (hand > 0) // hands never overlap
                QVERIFY(layout.handRect(hand).left() > layout.handRect(hand - 1).right());
            // Each card's index strip stays in view beside the next card.
            for (int card = 1; card < cards[hand]; ++card)
                QVERIFY(layout.cardRect(hand, card).left() - layout.cardRect(hand, card - 1).left()
                        >= qRound(cardSpace * HandsLayout::smallestScale));
        }
        // Centred: as much room on the left as on the right.
        if (scale > HandsLayout::smallestScale)
            QVERIFY(qAbs(layout.handRect(0).left() - (width - 1 - layout.handRect(hands - 1).right())) <= 1);
    }

    void handsReadTheirChartLine_data()
    {
        QTest::addColumn<QList<int>>("ranks");
        QTest::addColumn<bool>("maySplit");
        QTest::addColumn<QString>("line");
        QTest::newRow("hard 7") << QList<int>{5, 2} << true << "4 to 8";
        QTest::newRow("hard 15") << QList<int>{10, 5} << true << "13 to 16";
        QTest::newRow("hard 19 of three cards") << QList<int>{10, 5, 4} << true << "17 to 20";
        QTest::newRow("soft 18") << QList<int>{1, 7} << true << "A7";
        QTest::newRow("eights") << QList<int>{8, 8} << true << "8-8";
        QTest::newRow("eights past the split limit") << QList<int>{8, 8} << false << "13 to 16";
        QTest::newRow("king and queen") << QList<int>{13, 12} << true << "10-10";
        QTest::newRow("aces") << QList<int>{1, 1} << true << "A, A";
        QTest::newRow("threes") << QList<int>{3, 3} << true << "2-2, 3-3";
    }

    void handsReadTheirChartLine()
    {
        QFETCH(QList<int>, ranks);
        QFETCH(bool, maySplit);
        QFETCH(QString, line);
        const int row = CasinoChart::handRow(handOf(ranks), maySplit);
        const auto lines = CasinoChartWording::of(CasinoChart());
        QCOMPARE(QString::fromStdString(lines[CasinoChartWording::lineOf(row)][0]), line);
    }

    void oddsLineNamesSurrenderAndInsurance()
    {
        ActionOdds odds;
        odds.stand = -13.6;
        odds.hit = -12.7;
        odds.surrender = -12.5;
        QCOMPARE(OddsLine::text(odds, 25, QStringLiteral("r")),
                 QStringLiteral("Stand -13.6  Hit -12.7  Surrender -12.5 in chips on your 25 stake"));
        QCOMPARE(OddsLine::text(odds, 25, QStringLiteral("r"), QStringLiteral("s")),
                 QStringLiteral("Stand -13.6  Hit -12.7  Surrender -12.5 in chips on your 25 stake  (Stand costs 1.1)"));
        odds.surrender.reset();
        odds.insurance = -0.9;
        QCOMPARE(OddsLine::text(odds, 25, QString(), QStringLiteral("i")),
                 QStringLiteral("Stand -13.6  Hit -12.7  Insurance -0.9 in chips on your 25 stake  (Insurance costs 0.9)"));
    }
};

QTEST_GUILESS_MAIN(CasinoTutorTest)
#include "test_casinotutor.moc"
