// The table window through its life cycle: loading, layout, card flights,
// messages and timers.
#include "AboutBox.h"
#include "FileBytes.h"
#include "PictureBox.h"
#include "SettingsStore.h"
#include "SponsorPages.h"
#include "TableFixture.h"
#include "TableSurface.h"
#include <QFrame>
#include <QLabel>
#include <QtTest>
#include <tuple>

class TestTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A missing or empty picture, then one that is not a picture.
    void badBackgroundRefusesToLoad()
    {
        const QString missing = QStringLiteral("The background file bjwood.jpg is missing");
        const std::tuple<bool, QByteArray, QString> cases[] = {
            {false, {}, missing}, {true, {}, missing},
            {true, "not a picture at all", QStringLiteral("Error  in  Form_Load (  Invalid picture  )")}};
        for (const auto &[written, contents, alert] : cases) {
            TableFixture fixture;
            QFile picture(fixture.folder.filePath(QStringLiteral("pics/bjwood.jpg")));
            picture.remove();
            if (written && picture.open(QIODevice::WriteOnly))
                picture.write(contents);
            picture.close();
            QVERIFY(!fixture.open());
            QCOMPARE(fixture.alerts.texts, QStringList{alert});
            QVERIFY(!fixture.table().isVisible());
        }
    }

    void missingChartLeavesTheProgramRunning()
    {
        TableFixture fixture;
        QFile::remove(fixture.folder.filePath(QStringLiteral("bjdata.txt")));
        QVERIFY(fixture.open());
        QCOMPARE(fixture.alerts.texts, QStringList{QStringLiteral("Error in import chart bjdata.txt: File not found")});
        QVERIFY(fixture.table().isVisible());
        QCOMPARE(fixture.table().chart.chartStrings[0][0], QStringLiteral("8 or less")); // the wording is still read
        // Every lookup now answers nothing, and the round still plays.
        fixture.deal({10, 10, 6});
        QCOMPARE(fixture.table().theBestPlay, QString());
        QVERIFY(!fixture.table().roundOver);
    }

    void windowFitsThePictureAndKeepsItsSize()
    {
        OPEN_TABLE(fixture, table);
        // 25 twips are 2 pixels at 96 dpi.
        QCOMPARE(table.table->size(), QSize(640, 400 + 64 + 2));
        QVERIFY(table.height() >= table.table->height());
        QCOMPARE(table.cardSpace, int16_t(16));
        QCOMPARE(table.cardRise, int16_t(19));
        QCOMPARE(table.picDeal[0]->pos(), QPoint(350, 35));
        QCOMPARE(table.picComputerHand->geometry(), QRect(125, 85, 160, 96));
        QCOMPARE(table.picPlayerHand->geometry(), QRect(50, 466 - 96 - 64 - 80, 272, 96));
        QCOMPARE(table.picStatusBar->geometry(), QRect(12, 466 - 12 - 64, 616, 64));
        QVERIFY(table.Timer1.isActive());
        QCOMPARE(table.lblBank->text(), QStringLiteral("1000"));
        // Maximising comes straight back.
        const QSize normal = table.size();
        table.showMaximized();
        QVERIFY(!table.isMaximized());
        QCOMPARE(table.size(), normal);
    }

    void noEmptyBandOrLineBelowThePicture()
    {
        OPEN_TABLE(fixture, table);
        fixture.deal({9, 10, 6, 13});
        table.lblHit_Click();
        const QImage shown = table.table->grab().toImage();
        const QColor edge(46, 28, 16); // the table's colour where no picture lies
        for (int y = 380; y < shown.height(); ++y) {
            int bare = 0;
            for (int x = 0; x < shown.width(); ++x)
                bare += shown.pixelColor(x, y) == edge;
            QVERIFY2(bare < shown.width() / 2, qPrintable(QStringLiteral("row %1").arg(y)));
        }
    }

    void resetTwiceGivesTheSameTable()
    {
        OPEN_TABLE(fixture, table);
        fixture.deal({10, 10, 6});
        table.resetGraphics();
        const QImage first = table.table->image().toImage();
        const QImage firstDeck = table.picDeal[0]->image().toImage();
        table.resetGraphics();
        QCOMPARE(table.table->image().toImage(), first);
        QCOMPARE(table.picDeal[0]->image().toImage(), firstDeck);
        QCOMPARE(table.BoardBuffer.toImage(), first);
    }

    void cardFlightGeometry()
    {
        OPEN_TABLE(fixture, table);
        table.prefs.prfAnimation = true;
        table.prefs.prfAnimationDelay = 1;
        auto framesOf = [&](int x0, int y0, int x1, int y1) {
            fixture.clock.spun = 0;
            table.table->screenPixelsPainted = 0;
            table.AnimateCard(x0, y0, x1, y1, 1, 65, 1);
            return int(fixture.clock.spun / 1000);
        };
        QCOMPARE(framesOf(100, 100, 100, 100), 0);
        QCOMPARE(framesOf(100, 100, 340, 100), 240);
        QCOMPARE(framesOf(100, 300, 100, 120), 180);
        QCOMPARE(framesOf(358, 39, 125, 85), 233);
        // Each frame shows only the card and its margin.
        QVERIFY(table.table->screenPixelsPainted <= 233 * 81 * 106 + 71 * 96);
        QVERIFY(!table.picPlayerHand->isVisible());
        QVERIFY(table.picDeal[0]->isVisible());
        QVERIFY(!table.picDeal[1]->isVisible());

        table.prefs.prfAnimation = false;
        QCOMPARE(framesOf(100, 100, 340, 100), 0);
        QVERIFY(table.picDeal[0]->isVisible());
        QVERIFY(!table.picComputerHand->isVisible());

        // However large the stored delay, a flight ends within 3 s (a count
        // runs in pieces of about a millisecond).
        table.prefs.prfAnimation = true;
        table.prefs.prfAnimationDelay = 2147483647;
        const double start = fixture.clock.nowMs;
        framesOf(100, 100, 340, 100);
        const double took = fixture.clock.nowMs - start;
        QVERIFY2(took >= 2995 && took <= 3002, qPrintable(QString::number(took)));
    }

    void flightLandsTheCardAtTheTarget()
    {
        OPEN_TABLE(fixture, table);
        table.prefs.prfAnimation = true;
        table.picAnimate->image().fill(Qt::magenta);
        table.AnimateCard(358, 39, 200, 200, 1, 65, 1);
        const QImage shown = table.table->grab().toImage();
        QCOMPARE(shown.pixelColor(200 + 30, 200 + 40), QColor(Qt::magenta));
        // The bare table under the card's start is back.
        QCOMPARE(table.BoardBuffer.toImage().pixelColor(380, 60), table.table->image().toImage().pixelColor(380, 60));
    }

    void calibrationFindsTheSmallestSufficientDelay()
    {
        OPEN_TABLE(fixture, table);
        table.prefs.prfBannerDelay = 0;
        table.InitAnimDelay();
        // The fake loop step costs 1 ns: 150 frames reach 0.2 s at 1334 thousand.
        QCOMPARE(table.prefs.prfAnimationDelay, 1340);
        QCOMPARE(table.prefs.prfScrollVal, int16_t(250));
        // 61 banner steps reach 0.3 s at 4918 thousand.
        QCOMPARE(table.prefs.prfBannerDelay, 4920);
    }

    void storedDelayTooSlowIsMeasuredAgain_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("used");
        QTest::addColumn<QString>("shown"); // the delay the message names, "" for none
        // At 1 ns a step, a flight across the 640-pixel table reaches 3 s at 4687.5.
        QTest::newRow("sane") << QByteArray("4680") << 4680 << "";
        QTest::newRow("just too slow") << QByteArray("4690.0") << 1340 << "4690";
        QTest::newRow("largest") << QByteArray("2147483647") << 1340 << "2147483647";
        QTest::newRow("beyond 32 bits") << QByteArray("99999999999") << 1340 << "2147483647";
    }
    void storedDelayTooSlowIsMeasuredAgain()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, used);
        QFETCH(QString, shown);
        const QString settings = SettingsStore().fileName();
        QDir().mkpath(QFileInfo(settings).path());
        writeFile(settings, "[Preferences]\nprfAnimationDelay=" + stored + "\n");
        {
            TableFixture fixture;
            QVERIFY(fixture.open(true));
            QCOMPARE(fixture.table().prefs.prfAnimationDelay, used);
            const QString remeasured =
                QStringLiteral("The animation delay %1 is too slow for this computer; it is measured again").arg(shown);
            QCOMPARE(fixture.alerts.texts, shown.isEmpty() ? QStringList() : QStringList{remeasured});
        }
        QFile::remove(settings);
    }

    void welcomeAndOutcomeTurnIntoInvitations()
    {
        OPEN_TABLE(fixture, table);
        table.showmessage(QStringLiteral("Welcome to Vantrel"));
        QCOMPARE(table.lblstatus->palette().color(QPalette::WindowText), QColor(250, 175, 200));
        table.Timer1_Timer();
        QCOMPARE(table.statusText(), QStringLiteral("Click the deck to start a new game"));
        const int waits = fixture.clock.waits;
        table.showmessage(QString());
        QCOMPARE(table.statusText(), QString());
        QCOMPARE(fixture.clock.waits - waits, 25);

        table.showmessage(QStringLiteral("You win"));
        QStringList seen;
        for (int tick = 1; tick <= 8; ++tick) {
            table.Timer2_Timer();
            seen << table.statusText();
        }
        const QString win = QStringLiteral("You win"), deck = QStringLiteral("Click the Deck to play again"),
                      banners = QStringLiteral("Click the banners for real money excitement !");
        QCOMPARE(seen, (QStringList{win, win, deck, deck, deck, deck, banners, banners}));
    }

    void unchangedLinesBlinkButAdviceDoesNot()
    {
        OPEN_TABLE(fixture, table);
        fixture.deal({10, 10, 6});
        QVERIFY(!table.roundOver);
        auto blinksAfterTwoTicks = [&](const QString &text) {
            table.lblstatus->setText(text);
            table.Timer2_Timer();
            const int waits = fixture.clock.waits;
            table.Timer2_Timer();
            return fixture.clock.waits > waits;
        };
        QVERIFY(blinksAfterTwoTicks(QStringLiteral("Hit, Stand, or Double..")));
        for (const char *advice : {"Hit..", "Stand..", "Welcome to Vantrel..."})
            QVERIFY(!blinksAfterTwoTicks(QLatin1String(advice)));
        // During a round the outcome stage leaves the caption alone.
        table.lblstatus->setText(QStringLiteral("You win"));
        for (int tick = 0; tick < 4; ++tick)
            table.Timer2_Timer();
        QCOMPARE(table.statusText(), QStringLiteral("You win"));
    }

    void hoverFramesFollowTheRules()
    {
        OPEN_TABLE(fixture, table);
        auto shown = [&] {
            QString frames;
            for (QFrame *frame : table.Shape)
                frames += frame->isVisible() ? QLatin1Char('1') : QLatin1Char('0');
            return frames;
        };
        table.lblHit_MouseMove();
        QCOMPARE(shown(), QStringLiteral("0000")); // between rounds
        fixture.deal({10, 8, 8});
        table.lblSplit_MouseMove();
        QCOMPARE(shown(), QStringLiteral("0001"));
        table.lblHit_MouseMove();
        QCOMPARE(shown(), QStringLiteral("1000"));
        table.Form_MouseMove();
        QCOMPARE(shown(), QStringLiteral("0000"));
        table.actionEnabled = false;
        for (auto hover : {&MainWindow::lblHit_MouseMove, &MainWindow::lblStand_MouseMove,
                           &MainWindow::lblDouble_MouseMove, &MainWindow::lblSplit_MouseMove})
            (table.*hover)();
        QCOMPARE(shown(), QStringLiteral("0000"));
        table.actionEnabled = true;
        table.canDouble = false;
        table.lblDouble_MouseMove();
        QCOMPARE(shown(), QStringLiteral("0000"));
    }

    void bannersRotateBetweenRoundsOnly()
    {
        OPEN_TABLE(fixture, table);
        QStringList opened;
        QList<int> shownBanners;
        for (int rotation = 0; rotation < 17; ++rotation) {
            for (int tick = 0; tick < 4; ++tick)
                table.Timer1_Timer();
            shownBanners << table.picCtr;
        }
        QCOMPARE(shownBanners.mid(0, 3), (QList<int>{1, 2, 3}));
        QCOMPARE(shownBanners.at(14), 15);
        QCOMPARE(shownBanners.at(15), 0); // the sixteenth shows 9.gif
        QCOMPARE(shownBanners.at(16), 1);
        QCOMPARE(table.Timer1.interval(), 10000);
        fixture.deal({10, 10, 6});
        const int before = table.picCtr;
        for (int tick = 0; tick < 8; ++tick)
            table.Timer1_Timer();
        QCOMPARE(table.picCtr, before);
        QVERIFY(fixture.alerts.texts.isEmpty());
    }

    void bannerAndMenusOpenTheirPages()
    {
        OPEN_TABLE(fixture, table);
        QStringList opened;
        const AboutBox::UrlOpener previous =
            AboutBox::setUrlOpener([&](const QUrl &address) { opened << address.toString(); });
        const QString page1 = SponsorPages::page1.address;
        const QString page2 = SponsorPages::page2.address;
        const QString page3 = SponsorPages::page3.address;
        const QList<QPair<int, QString>> byBanner{{0, page1}, {1, page1}, {2, page3}, {4, page3}, {6, page2},
                                                  {9, page1}, {10, page2}, {15, page2}, {99, page1}};
        for (const auto &[banner, page] : byBanner) {
            table.picCtr = static_cast<int16_t>(banner);
            table.picStatusBar_Click();
            QCOMPARE(opened.takeLast(), page);
        }
        for (const char *entry : {"mnuSites1", "mnuSites2", "mnuSites3", "mnuBonus0", "mnuBonus1"})
            table.findChild<QAction *>(QLatin1String(entry))->trigger();
        QCOMPARE(opened, (QStringList{page1, page2, page3, page3, page3}));
        AboutBox::setUrlOpener(previous);
    }

    void closingSavesThePreferences()
    {
        OPEN_TABLE(fixture, table);
        table.prefs.prfPKBackFace = 60;
        table.close();
        QSettings stored(QStringLiteral("Vantrel"), QStringLiteral("Vantrel"));
        QCOMPARE(stored.value(QStringLiteral("Preferences/prfPKBackFace")).toString(), QStringLiteral("60"));
        QVERIFY(stored.contains(QStringLiteral("Preferences/prfChartX")));
        QVERIFY(stored.contains(QStringLiteral("Preferences/prfMainScreenX")));
    }
};

QTEST_MAIN(TestTable)
#include "test_table.moc"
