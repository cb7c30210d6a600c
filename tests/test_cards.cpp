#include "ClockSeededRandom.h"
#include "DealerRule.h"
#include "Deck.h"
#include "HandOf.h"
#include "ShuffledDeckSource.h"
#include <QtTest>
#include <set>

class TestCards : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void handTotal_data()
    {
        QTest::addColumn<QList<int>>("ranks");
        QTest::addColumn<int>("total");
        QTest::newRow("ace king") << QList<int>{1, 13} << 21;
        QTest::newRow("two aces") << QList<int>{1, 1} << 12;
        QTest::newRow("ace ace nine") << QList<int>{1, 1, 9} << 21;
        QTest::newRow("ace six ten") << QList<int>{1, 6, 10} << 17;
        QTest::newRow("ten ten ace") << QList<int>{10, 10, 1} << 21;
        QTest::newRow("three aces eight") << QList<int>{1, 1, 1, 8} << 21;
        QTest::newRow("king queen two busts") << QList<int>{13, 12, 2} << 22;
        QTest::newRow("jack seven") << QList<int>{11, 7} << 17;
        QTest::newRow("no cards") << QList<int>{} << 0;
    }
    void handTotal()
    {
        QFETCH(QList<int>, ranks);
        QFETCH(int, total);
        QCOMPARE(int(::handTotal(handOf(ranks))), total);
    }

    void handKeepsOneEmptySlot()
    {
        Hand hand = handOf({8, 8, 5});
        QCOMPARE(hand.count(), 3);
        QCOMPARE(int(hand.elements().size()), 4);
        QVERIFY(hand[3].isEmpty());
        hand.truncate(1);
        QVERIFY(hand[1].isEmpty());
        QCOMPARE(int(::handTotal(hand)), 8);
        hand.reset();
        QCOMPARE(hand.count(), 0);
    }

    void shuffleGivesPermutationAndDealsFromTheTop()
    {
        ClockSeededRandom random;
        ShuffledDeckSource source(random);
        Deck deck;
        source.build(deck.deck);
        std::set<int> seen;
        for (const Card &card : deck.deck) {
            seen.insert(card.cardIndex);
            QCOMPARE(card.rank, int16_t(card.cardIndex / 4 + 1));
            QCOMPARE(card.suit, int16_t(card.cardIndex % 4));
        }
        QCOMPARE(int(seen.size()), 52);
        deck.fillStock();
        QCOMPARE(deck.stockCount(), 52);
        for (int i = 0; i < 52; ++i)
            QCOMPARE(deck.stock[i].cardIndex, deck.deck[i].cardIndex);
        Hand hand;
        deck.dealTo(hand);
        deck.dealTo(hand);
        QCOMPARE(hand[0].cardIndex, deck.deck[51].cardIndex);
        QCOMPARE(hand[1].cardIndex, deck.deck[50].cardIndex);
        QCOMPARE(deck.stockCount(), 50);
    }

    void shuffleSwapsWithTheWholeDeck()
    {
        // A generator that always answers 0 swaps every position with 0:
        // the result is the rotation that procedure must produce.
        struct Zero : RandomSource { float next() override { return 0.0f; } } zero;
        std::array<Card, 52> deck{};
        ShuffledDeckSource(zero).build(deck);
        QCOMPARE(int(deck[0].cardIndex), 51);
        for (int i = 1; i < 52; ++i)
            QCOMPARE(int(deck[i].cardIndex), i - 1);
        // The largest float below 1 must still land inside the deck.
        struct Top : RandomSource { float next() override { return 0.99999994f; } } top;
        ShuffledDeckSource(top).build(deck);
        QCOMPARE(int(deck[51].cardIndex), 50);
    }

    void reseedWithUnchangedClockNeverRepeats()
    {
        ClockSeededRandom random([] { return uint64_t(12345); });
        float previous = random.next();
        for (int i = 0; i < 1000; ++i) {
            const float value = random.next();
            QVERIFY(value >= 0.0f && value < 1.0f && value != previous);
            previous = value;
        }
    }

    void dealerRule()
    {
        QVERIFY(dealerDraws(15, 10));
        QVERIFY(dealerDraws(16, 18));
        QVERIFY(dealerDraws(16, 17));
        QVERIFY(!dealerDraws(16, 16));
        QVERIFY(!dealerDraws(16, 15));
        QVERIFY(!dealerDraws(17, 21));
        QVERIFY(!dealerDraws(::handTotal(handOf({1, 6})), 20)); // soft 17 stands
    }
};

QTEST_APPLESS_MAIN(TestCards)
#include "test_cards.moc"
