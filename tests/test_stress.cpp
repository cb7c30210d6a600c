// Seeded random play through the real table: clicks, keys, preference flips,
// timer ticks and clicks fired from inside every wait, with the round's
// invariants checked after every event and at every wait.
#include "FileBytes.h"
#include "ScreenPlacement.h"
#include "SettingsStore.h"
#include "StrategyWindow.h"
#include "TableFixture.h"
#include <QLabel>
#include <QtTest>
#include <algorithm>
#include <random>
#include <tuple>

namespace {
// Counted here, not by the program: aces 1, one of them 11 where that stays within 21.
int ownTotal(const Hand &hand)
{
    int sum = 0;
    bool ace = false;
    for (int i = 0; i < hand.count(); ++i) {
        sum += std::min<int>(hand[i].rank, 10);
        ace = ace || hand[i].rank == 1;
    }
    return ace && sum + 10 <= 21 ? sum + 10 : sum;
}

int settlement(const MainWindow &table)
{
    const int player = ownTotal(table.playerHand);
    const int dealer = ownTotal(table.dealerHand);
    if (player > 21)
        return -table.wager;
    if (dealer > 21 || player > dealer)
        return table.wager;
    return player < dealer ? -table.wager : 0;
}

class RandomPlay {
public:
    RandomPlay(TableFixture &fixture, unsigned seed) : fixture(fixture), table(fixture.table()), random(seed) {}

    // Plays until `rounds` deals have been seen; returns "" or the failure.
    QString play(int rounds)
    {
        fixture.clock.onWait = [this](int) { duringWait(); };
        for (int event = 0; rounds_ < rounds && failure.isEmpty(); ++event) {
            if (event > rounds * 40)
                return QStringLiteral("only %1 rounds dealt in %2 events").arg(rounds_).arg(event);
            stackShuffledDeck();
            fire(pick(), false);
            observe();
            checkBetweenEvents();
        }
        fixture.clock.onWait = nullptr;
        return failure;
    }

    int rounds() const { return rounds_; }
    int events() const { return static_cast<int>(log.size()); }
    QStringList log;

private:
    enum Event { Deal, Hit, Stand, Double, Split, KeyDeal, KeyHit, KeyStand, KeyDouble, KeySplit,
                 ShowBestPlay, AutoDeal, Animation, Tick1, Tick2, EventCount };

    Event pick()
    {
        // Deals and actions dominate so that rounds move on.
        const int roll = std::uniform_int_distribution<int>(0, 99)(random);
        if (roll < 20) return Deal;
        if (roll < 70) return static_cast<Event>(Hit + roll % 4);
        if (roll < 85) return static_cast<Event>(KeyDeal + roll % 5);
        if (roll < 88) return static_cast<Event>(ShowBestPlay + roll % 3);
        return roll % 2 ? Tick1 : Tick2;
    }

    void fire(Event event, bool nested)
    {
        static const char *names[] = {"deal", "hit", "stand", "double", "split", "key N", "key H", "key S",
                                      "key D", "key P", "flip best play", "flip auto-deal",
                                      "flip animation", "Timer1", "Timer2"};
        log << QStringLiteral("%1%2").arg(nested ? QStringLiteral("  in wait: ") : QString(), names[event]);
        switch (event) {
        case Deal: table.picDeal_Click(); break;
        case Hit: table.lblHit_Click(); break;
        case Stand: table.lblStand_Click(); break;
        case Double: table.lblDouble_Click(); break;
        case Split: table.lblSplit_Click(); break;
        case KeyDeal: QTest::keyClick(&table, Qt::Key_N); break;
        case KeyHit: QTest::keyClick(&table, Qt::Key_H); break;
        case KeyStand: QTest::keyClick(&table, Qt::Key_S); break;
        case KeyDouble: QTest::keyClick(&table, Qt::Key_D); break;
        case KeySplit: QTest::keyClick(&table, Qt::Key_P); break;
        case ShowBestPlay: table.prefs.prfAlwaysShowBestPlay = !table.prefs.prfAlwaysShowBestPlay; break;
        case AutoDeal: table.prefs.prfAutoDeal = !table.prefs.prfAutoDeal; break;
        // Mostly off: animated flights cost real painting.
        case Animation: table.prefs.prfAnimation = !table.prefs.prfAnimation && random() % 4 == 0; break;
        case Tick1: table.Timer1_Timer(); break;
        case Tick2: table.Timer2_Timer(); break;
        case EventCount: break;
        }
    }

    void stackShuffledDeck()
    {
        std::array<Card, 52> deck;
        for (int i = 0; i < 52; ++i)
            deck[i] = Card::fromIndex(i);
        std::shuffle(deck.begin(), deck.end(), random);
        fixture.stacked.stackDeck(deck);
    }

    using Snapshot = std::tuple<int, int, int, int, int, bool>;
    Snapshot snapshot() const
    {
        return {table.deck.stockCount(), table.playerHand.count(), table.dealerHand.count(),
                table.splitHand.count(), table.bank(), table.roundOver};
    }

    // A wait inside a deal or action must turn away anything fired from it
    // without touching the cards, the bank or the round.
    void duringWait()
    {
        // A fresh deck for any deal that starts from here: an auto-deal
        // repeating the same natural would otherwise deal forever.
        stackShuffledDeck();
        observe();
        if (!failure.isEmpty() || random() % 3 != 0)
            return;
        const auto event = static_cast<Event>(random() % EventCount);
        if (event >= ShowBestPlay && event <= Animation)
            return; // preferences change only between events
        // The banner's waits between rounds may let a deal start; its own
        // waits would go unobserved, as the clock does not re-enter a hook.
        if (!table.isBusy())
            return;
        const Snapshot before = snapshot();
        fire(event, true);
        if (snapshot() != before)
            fail(QStringLiteral("a click inside a wait changed the round"));
        observe();
    }

    void observe()
    {
        if (!failure.isEmpty())
            return;
        std::array<int, 52> seen{};
        auto count = [&](const Card &card) {
            if (card.cardIndex < 0 || card.cardIndex > 51 || Card::fromIndex(card.cardIndex).rank != card.rank)
                fail(QStringLiteral("an invalid card"));
            else
                ++seen[card.cardIndex];
        };
        for (const Card &card : table.deck.stock)
            count(card);
        for (const Hand *hand : {&table.playerHand, &table.dealerHand, &table.splitHand}) {
            if (hand == &table.splitHand && !table.splitting)
                continue;
            for (int i = 0; i < hand->count(); ++i)
                count((*hand)[i]);
        }
        for (int index = 0; index < 52; ++index) {
            if (seen[index] > 1)
                fail(QStringLiteral("card %1 is in two places").arg(index));
        }
        if (table.deck.stockCount() > lastStock) {
            ++rounds_;
            settlementsThisRound = 0;
        }
        lastStock = table.deck.stockCount();

        const int bank = table.bank();
        if (bank != lastBank) {
            const int expected = settlement(table);
            if (bank - lastBank != expected)
                fail(QStringLiteral("bank moved by %1, the hands settle %2 (%3)")
                         .arg(bank - lastBank).arg(expected).arg(describe()));
            settled += bank - lastBank;
            if (++settlementsThisRound > 2)
                fail(QStringLiteral("more than two settlements in one round"));
            lastBank = bank;
        }
        if (bank != 1000 + settled)
            fail(QStringLiteral("bank %1, settlements add up to %2").arg(bank).arg(1000 + settled));
        if (!fixture.alerts.texts.isEmpty())
            fail(QStringLiteral("message box: ") + fixture.alerts.texts.join(QLatin1Char('|')));
    }

    QString describe() const
    {
        auto cards = [](const Hand &hand) {
            QStringList ranks;
            for (int i = 0; i < hand.count(); ++i)
                ranks << QString::number(hand[i].rank);
            return ranks.join(QLatin1Char(' '));
        };
        return QStringLiteral("player %1, dealer %2, split %3, wager %4, splitting %5, status \"%6\"")
            .arg(cards(table.playerHand), cards(table.dealerHand), cards(table.splitHand))
            .arg(table.wager).arg(table.splitting).arg(table.statusText());
    }

    void checkBetweenEvents()
    {
        if (table.isBusy())
            fail(QStringLiteral("still busy after the event"));
        if (rounds_ > 0 && !table.actionEnabled)
            fail(QStringLiteral("actions disabled between events"));
        if (!table.roundOver && table.playerHand.count() < 1)
            fail(QStringLiteral("a round in play without a hand"));
    }

    void fail(const QString &what)
    {
        if (failure.isEmpty())
            failure = what;
    }

    TableFixture &fixture;
    MainWindow &table;
    std::mt19937 random;
    QString failure;
    int rounds_ = 0;
    int lastStock = 0;
    int lastBank = 1000;
    int settled = 0;
    int settlementsThisRound = 0;
};
}

class TestStress : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void randomPlayKeepsEveryInvariant_data()
    {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<int>("rounds");
        const QByteArray fromEnvironment = qgetenv("VANTREL_STRESS_SEED");
        if (!fromEnvironment.isEmpty()) {
            QTest::newRow("chosen") << fromEnvironment.toUInt() << 1000;
            return;
        }
        for (unsigned seed : {1u, 20240607u, 77u, 31337u})
            QTest::newRow(QByteArray::number(seed)) << seed << 300;
    }

    void randomPlayKeepsEveryInvariant()
    {
        QFETCH(unsigned, seed);
        QFETCH(int, rounds);
        TableFixture fixture;
        QVERIFY(fixture.open());
        RandomPlay play(fixture, seed);
        const QString failure = play.play(rounds);
        if (!failure.isEmpty()) {
            const QStringList tail = play.log.mid(std::max<qsizetype>(0, play.log.size() - 60));
            QFAIL(qPrintable(QStringLiteral("seed %1: %2\nlast events:\n%3")
                                 .arg(seed).arg(failure, tail.join(QLatin1Char('\n')))));
        }
        qInfo("seed %u: %d rounds, %d events", seed, play.rounds(), play.events());
    }

    // Stored values a hostile hand could leave: places off every screen,
    // garbage, the slowest delays. The windows open where they can be
    // reached, and play and exit go as with sane values.
    void hostileStoredValuesKeepEveryInvariant()
    {
        const QString settings = SettingsStore().fileName();
        const auto removeSettings = qScopeGuard([&] { QFile::remove(settings); });
        QDir().mkpath(QFileInfo(settings).path());
        writeFile(settings, "\x01\xff\xfe garbage\n[Preferences]\nprfMainScreenX=300000\nprfMainScreenY=-300000\n"
                             "prfChartX=-2147483648\nprfChartY=99999999\nprfPKBackFace=abc\nprfScrollVal=-32769\n"
                             "prfAnimationDelay=2147483647\nprfBannerDelay=2147483647\nprfAnimation=True\nno equals sign\n[broken\n");
        TableFixture fixture;
        QVERIFY(fixture.open(true));
        MainWindow &table = fixture.table();
        const QList<QRect> screens{table.screen()->geometry()};
        QVERIFY(ScreenPlacement::titleBarReachable(table.pos(), table.width(), screens));
        QVERIFY(ScreenPlacement::titleBarReachable(table.frmStrings->pos(), table.frmStrings->width(), screens));
        // Each bad value is named as it is read; the delay is measured again.
        const QStringList alerts = fixture.alerts.texts;
        QCOMPARE(alerts.filter(QStringLiteral("initialize")).size() + 1, alerts.size());
        QCOMPARE(alerts.filter(QStringLiteral("The animation delay 2147483647 is too slow")).size(), 1);
        fixture.alerts.texts.clear();
        RandomPlay play(fixture, 4242);
        const QString failure = play.play(100);
        QVERIFY2(failure.isEmpty(), qPrintable(failure + "\n" + play.log.mid(play.log.size() - 60).join('\n')));
        table.close();
        QCOMPARE(fixture.alerts.texts, QStringList()); // the save went well
    }
};

QTEST_MAIN(TestStress)
#include "test_stress.moc"
