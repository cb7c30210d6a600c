#include "AboutBox.h"
#include "AlertRecorder.h"
#include "FileBytes.h"
#include "HelpWindow.h"
#include "Preferences.h"
#include "PreferencesDialog.h"
#include "ProgramFolder.h"
#include "SplashWindow.h"
#include "SponsorPages.h"
#include "StrategyChart.h"
#include "ScreenPlacement.h"
#include "StrategyWindow.h"
#include "Twips.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

namespace {
// Long captions, so that every line has to fit its row.
StrategyChart chartWithLines(int lines)
{
    StrategyChart chart;
    for (int i = 0; i < lines; ++i)
        chart.chartStrings[i] = {QStringLiteral("  group %1 ").arg(i),
                                 QStringLiteral("advice %1: Stand: 16 v 2-6, 15 v 3-5, 14 v 5; else hit").arg(i)};
    return chart;
}

Preferences defaultPreferences()
{
    Preferences prefs;
    prefs.prfChartX = prefs.prfChartY = -1;
    prefs.prfPKBackFace = 65;
    prefs.prfAnimationDelay = 123;
    return prefs;
}

QLabel *line(const QWidget &window, const char *column, int line)
{
    return window.findChild<QLabel *>(QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(line));
}

// The one advice line in white on black, or -1; -2 when the colours are mixed up.
int highlightedLine(const QWidget &window)
{
    int found = -1;
    for (int i = 0; i < StrategyWindow::lineCount; ++i) {
        const QPalette colours = line(window, "lblAction", i)->palette();
        const QColor text = colours.color(QPalette::WindowText);
        const QColor back = colours.color(QPalette::Window);
        if (text == Qt::white && back == Qt::black)
            found = found == -1 ? i : -2;
        else if (text != Qt::black || back != Qt::white)
            return -2;
    }
    return found;
}

template <typename T>
T *control(const QWidget &dialog, const char *name)
{
    T *found = dialog.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

void click(const QWidget &dialog, const char *button)
{
    QTest::mouseClick(control<QPushButton>(dialog, button), Qt::LeftButton);
}

struct OpenedUrls {
    OpenedUrls() { previous = AboutBox::setUrlOpener([this](const QUrl &url) { urls << url; }); }
    ~OpenedUrls() { AboutBox::setUrlOpener(previous); }
    QList<QUrl> urls;
    AboutBox::UrlOpener previous;
};
}

class TestWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void strategyCaptions_data()
    {
        QTest::addColumn<int>("lines");
        QTest::newRow("full chart") << 21;
        QTest::newRow("no bjstrings.txt") << 0;
        QTest::newRow("15 lines") << 15;
    }

    void strategyCaptions()
    {
        QFETCH(int, lines);
        const StrategyChart chart = chartWithLines(lines);
        Preferences prefs = defaultPreferences();
        StrategyWindow window(chart, prefs);
        window.showWindow();

        QCOMPARE(window.windowTitle(), QStringLiteral("Blackjack Strategy"));
        for (int i = 0; i < StrategyWindow::lineCount; ++i) {
            const QString group = i < lines ? chart.chartStrings[i][0].trimmed() : QString();
            const QString advice = QLatin1Char(' ') + (i < lines ? chart.chartStrings[i][1] : QString());
            QCOMPARE(line(window, "lblPlayerHand", i)->text(), group);
            QCOMPARE(line(window, "lblAction", i)->text(), advice);
            for (const QLabel *label : {line(window, "lblPlayerHand", i), line(window, "lblAction", i)})
                QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
        }
        QCOMPARE(highlightedLine(window), -1);
        QVERIFY(window.font().pixelSize() >= 9);
        QVERIFY(window.rect().contains(line(window, "lblAction", 20)->geometry().bottomRight()));
        // First start: the top right corner of the screen.
        const QRect available = window.screen()->availableGeometry();
        QCOMPARE(window.frameGeometry().topRight(), available.topRight());
    }

    void showStrategyHighlightsOnlyTheAdvice()
    {
        StrategyChart chart = chartWithLines(21);
        Preferences prefs = defaultPreferences();
        StrategyWindow window(chart, prefs);
        window.showWindow();
        const QColor handText = line(window, "lblPlayerHand", 13)->palette().color(QPalette::WindowText);

        window.ShowStrategy(13);
        QCOMPARE(highlightedLine(window), 13);
        QCOMPARE(line(window, "lblPlayerHand", 13)->palette().color(QPalette::Window), QColor(0xE0E0E0));
        QCOMPARE(line(window, "lblPlayerHand", 13)->palette().color(QPalette::WindowText), handText);
        window.ShowStrategy(0);
        QCOMPARE(highlightedLine(window), 0);
        window.ShowStrategy(20);
        // A line the lookup never produces changes nothing.
        window.ShowStrategy(21);
        window.ShowStrategy(-1);
        QCOMPARE(highlightedLine(window), 20);

        // Closed, it reloads hidden, taking the captions again.
        window.close();
        chart.chartStrings[7][1] = QStringLiteral("Split");
        window.ShowStrategy(7);
        QVERIFY(!window.isVisible());
        QCOMPARE(line(window, "lblAction", 7)->text(), QStringLiteral(" Split"));
        QCOMPARE(highlightedLine(window), 7);
        window.showWindow();
        window.showWindow(); // reopening an open window does not reload it
        QVERIFY(window.isVisible());
        QCOMPARE(highlightedLine(window), 7);
    }

    // Below the chart, as many rows of 20 pixels as the wrapped text needs.
    void oddsLineFitsBelowTheChart()
    {
        const StrategyChart chart; // short captions: the largest font
        Preferences prefs = defaultPreferences();
        StrategyWindow window(chart, prefs);
        window.showWindow();
        const int chartHeight = window.height();
        auto *odds = control<QLabel>(window, "lblOdds");
        const std::pair<QString, int> lines[] = {
            {QStringLiteral("Stand -13.6  Hit -12.7"), 1},
            {QStringLiteral("Stand -25.0  Hit -25.0  Double -50.0  Split -50.0  (Double costs 25.0)"), 2},
            {QStringLiteral("Stand -5.0  Hit -5.4 in chips on your 25 stake\n"
                            "For these exact cards Stand is 0.4 chips better; the chart plays the total"), 3}};
        // As large as the chart's lines.
        QCOMPARE(odds->font(), control<QLabel>(window, "lblAction_0")->font());
        for (const auto &[text, rows] : lines) {
            window.setOdds(text);
            QVERIFY(odds->isVisible());
            QCOMPARE(odds->height(), rows * 20);
            QCOMPARE(window.height(), chartHeight + rows * 20);
            QCOMPARE(odds->geometry().bottom(), window.rect().bottom());
            const QRect needed = odds->fontMetrics().boundingRect(odds->rect(), Qt::AlignCenter | Qt::TextWordWrap, text);
            QVERIFY2(odds->rect().contains(needed), qPrintable(text));
        }
        window.setOdds(QString());
        QVERIFY(!odds->isVisible());
        QCOMPARE(window.height(), chartHeight);
    }

    // The chart beside the table: right where there is room, else left,
    // else over the table's left side, never over the bank and title-bar
    // buttons at its right (the table's right 170 pixels).
    void chartGoesBesideTheTable_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("table");
        QTest::addColumn<QPoint>("chart");
        const QRect wide(0, 0, 1600, 1000);
        QTest::newRow("room on the right") << wide << QRect(480, 260, 642, 510) << QPoint(1122, 260);
        QTest::newRow("room on the left only") << wide << QRect(1000, 0, 580, 500) << QPoint(769, 0);
        QTest::newRow("lifted to stay on screen") << wide << QRect(100, 700, 642, 300) << QPoint(742, 558);
        QTest::newRow("scale 2, no room beside") << QRect(0, 0, 800, 500) << QRect(158, 0, 642, 500) << QPoint(0, 0);
        QTest::newRow("second screen") << QRect(1600, 0, 800, 600) << QRect(1700, 10, 300, 200) << QPoint(2000, 10);
    }
    void chartGoesBesideTheTable()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, table);
        const QSize chart(231, 442);
        QTEST(ScreenPlacement::beside(table, chart, screen), "chart");
        const QRect placed(ScreenPlacement::beside(table, chart, screen), chart);
        QVERIFY(screen.contains(placed));
        QVERIFY(!placed.intersects(table.adjusted(table.width() - 170, 0, 0, 0)));
    }

    // A window grown in place (the chart of another table) comes back inside
    // the screen by as much as it sticks out, and no further.
    void grownWindowStaysOnScreen_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("kept");
        QTest::newRow("inside") << QRect(100, 50, 400, 450) << QPoint(100, 50);
        QTest::newRow("past the right edge") << QRect(1500, 50, 418, 465) << QPoint(1182, 50);
        QTest::newRow("past the bottom") << QRect(100, 700, 400, 450) << QPoint(100, 550);
        QTest::newRow("against the right and bottom edges") << QRect(1200, 550, 400, 450) << QPoint(1200, 550);
        QTest::newRow("wider than the screen") << QRect(300, 0, 1700, 450) << QPoint(0, 0);
    }
    void grownWindowStaysOnScreen()
    {
        QFETCH(QRect, frame);
        QTEST(ScreenPlacement::keptInside(frame, QRect(0, 0, 1600, 1000)), "kept");
    }

    // With nothing stored, the table leaves room for the chart on its right,
    // or stands against the screen's right edge when both cannot fit.
    void tableLeavesRoomForTheChart_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QPoint>("table");
        QTest::newRow("both fit, centred together") << QRect(0, 0, 1600, 1000) << QPoint(363, 245);
        QTest::newRow("scale 2") << QRect(0, 0, 800, 500) << QPoint(158, 0);
        QTest::newRow("offset screen") << QRect(100, 50, 1600, 1000) << QPoint(463, 295);
    }
    void tableLeavesRoomForTheChart()
    {
        QFETCH(QRect, screen);
        QTEST(ScreenPlacement::leavingRoom(QSize(642, 510), 231, screen), "table");
    }

    // 15 twips to the pixel at the offscreen screen's 96 dpi.
    void chartPlacementRoundTripsInTwips_data()
    {
        QTest::addColumn<int>("storedX");
        QTest::addColumn<int>("storedY");
        QTest::addColumn<QPoint>("opensAt");
        QTest::newRow("inside") << 1500 << 3000 << QPoint(100, 200);
        QTest::newRow("left edge") << 0 << 300 << QPoint(0, 20);
        QTest::newRow("top edge") << 450 << 0 << QPoint(30, 0);
    }
    void chartPlacementRoundTripsInTwips()
    {
        QFETCH(int, storedX);
        QFETCH(int, storedY);
        QFETCH(QPoint, opensAt);
        const StrategyChart chart;
        Preferences prefs = defaultPreferences();
        prefs.prfChartX = storedX;
        prefs.prfChartY = storedY;
        StrategyWindow window(chart, prefs);
        auto storedAs = [&window](int x, int y) {
            const auto stored = window.position();
            return stored && stored->x == x && stored->y == y;
        };

        QVERIFY(storedAs(storedX, storedY)); // closed before it was ever shown
        window.showWindow();
        QCOMPARE(window.pos(), opensAt);
        window.move(300, 40);
        QVERIFY(storedAs(4500, 600));
        window.showMinimized();
        QVERIFY(!window.position()); // minimised: the stored place stays
        window.showNormal();
        window.close();
        QVERIFY(storedAs(storedX, storedY)); // closed: loads at the stored place again
    }

    void sliderSetsDelay_data()
    {
        QTest::addColumn<int>("slider");
        QTest::addColumn<int>("delay");
        QTest::newRow("fastest") << 1000 << 0;
        QTest::newRow("middle") << 500 << 500;
        QTest::newRow("just below middle") << 499 << 511;
        QTest::newRow("slowest") << 0 << 6000;
    }

    void sliderSetsDelay()
    {
        QFETCH(int, slider);
        QFETCH(int, delay);
        Preferences prefs = defaultPreferences();
        prefs.prfScrollVal = 250;
        PreferencesDialog dialog(prefs, 71, 96, [] {});
        dialog.show();
        QCOMPARE(control<QSlider>(dialog, "HScroll1")->value(), 250);
        control<QSlider>(dialog, "HScroll1")->setValue(slider);
        QCOMPARE(prefs.prfAnimationDelay, delay);
        QCOMPARE(control<QLabel>(dialog, "Label4")->text(), QString::number(delay));
    }

    void cancelKeepsDelayButNotSliderPosition()
    {
        Preferences prefs = defaultPreferences();
        prefs.prfScrollVal = 100;
        PreferencesDialog dialog(prefs, 71, 96, [] {});
        dialog.show();
        control<QSlider>(dialog, "HScroll1")->setValue(800);
        control<QCheckBox>(dialog, "ckSounds")->setChecked(true);
        click(dialog, "cmdCancel");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(prefs.prfAnimationDelay, 200);
        QCOMPARE(prefs.prfScrollVal, int16_t(100));
        QVERIFY(!prefs.prfSound);
    }

    void saveRedrawsDeckOnlyForANewValidDesign()
    {
        AlertRecorder alerts;
        Preferences prefs = defaultPreferences();
        int redraws = 0;
        auto saveWith = [&](auto change) {
            PreferencesDialog dialog(prefs, 71, 96, [&redraws] { ++redraws; });
            dialog.show();
            change(dialog);
            click(dialog, "cmdSave");
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        };
        saveWith([](PreferencesDialog &dialog) { control<QSlider>(dialog, "HScroll1")->setValue(700); });
        QCOMPARE(redraws, 0);
        QCOMPARE(prefs.prfPKBackFace, 65);
        QCOMPARE(prefs.prfScrollVal, int16_t(700));

        saveWith([](PreferencesDialog &dialog) { control<QComboBox>(dialog, "Combo1")->setCurrentIndex(3); });
        QCOMPARE(redraws, 1);
        QCOMPARE(prefs.prfPKBackFace, 56);

        // A stored design the list does not know is reported and kept.
        prefs.prfPKBackFace = 99;
        saveWith([](PreferencesDialog &) {});
        QCOMPARE(alerts.texts, QStringList{QStringLiteral("Error  in  Form_Activate (  Invalid property value  )")});
        QCOMPARE(prefs.prfPKBackFace, 99);
        QCOMPARE(redraws, 1);
    }

    void defaultDesignSelectsSleeveAndShowsIt()
    {
        Preferences prefs = defaultPreferences();
        PreferencesDialog dialog(prefs, 71, 96, [] {});
        dialog.show();
        auto *combo = control<QComboBox>(dialog, "Combo1");
        QCOMPARE(combo->count(), 13);
        QCOMPARE(combo->currentText(), QStringLiteral("Sleeve"));
        // The preview follows the choice.
        auto *picture = control<QLabel>(dialog, "picBacks");
        const QImage sleeve = picture->pixmap().toImage();
        QVERIFY(!sleeve.isNull());
        combo->setCurrentIndex(0);
        QVERIFY(picture->pixmap().toImage() != sleeve);
    }

    void switchesFillAndSave_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::newRow("all on") << true;
        QTest::newRow("all off") << false;
    }

    void switchesFillAndSave()
    {
        QFETCH(bool, stored);
        Preferences prefs = defaultPreferences();
        prefs.prfSound = prefs.prfAnimation = prefs.prfAutoDeal = prefs.prfAlwaysShowBestPlay = stored;
        PreferencesDialog dialog(prefs, 71, 96, [] {});
        dialog.show();
        const QList<QAbstractButton *> switches = {control<QCheckBox>(dialog, "ckSounds"),
            control<QCheckBox>(dialog, "ckAnimation"), control<QCheckBox>(dialog, "ckprfAutoDeal"),
            control<QRadioButton>(dialog, "opAlwaysShow")};
        auto *onError = control<QRadioButton>(dialog, "opShowOnError");
        QCOMPARE(switches[3]->text(), QStringLiteral("Always Show Best Play "));
        for (QAbstractButton *button : switches)
            QVERIFY2(button->isChecked() == stored, qPrintable(button->objectName()));
        QCOMPARE(onError->isChecked(), !stored);

        for (QAbstractButton *button : switches.first(3))
            button->setChecked(!stored);
        (stored ? onError : switches[3])->setChecked(true);
        click(dialog, "cmdSave");
        QCOMPARE(QList<bool>({prefs.prfSound, prefs.prfAnimation, prefs.prfAutoDeal, prefs.prfAlwaysShowBestPlay}),
                 QList<bool>(4, !stored));
    }

    void helpShowsContents()
    {
        AlertRecorder alerts;
        ProgramFolder::setPath(QStringLiteral(VANTREL_SOURCE_DIR "/data"));
        QWidget table;
        HelpWindow help(&table);
        help.showContents();
        ProgramFolder::setPath(QString());

        QVERIFY(alerts.texts.isEmpty());
        QVERIFY(help.isVisible());
        auto *browser = help.findChild<QTextBrowser *>();
        QVERIFY(browser->toPlainText().contains(QStringLiteral("How to play")));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("bjstrings.txt")));
        QVERIFY(browser->document()->toHtml().contains(QStringLiteral("name=\"contents\"")));
    }

    void helpFileMissingOrEmpty()
    {
        QTemporaryDir folder;
        ProgramFolder::setPath(folder.path());
        AlertRecorder alerts;
        HelpWindow help;
        help.showContents();
        writeFile(folder.filePath(QStringLiteral("vantrel.hlp")), {});
        help.showContents();
        ProgramFolder::setPath(QString());

        QCOMPARE(alerts.texts.size(), 2);
        QVERIFY(alerts.texts[0].contains(QStringLiteral("vantrel.hlp is missing")));
        QCOMPARE(alerts.texts[1], alerts.texts[0]);
        QVERIFY(!help.isVisible());
    }

    void aboutAndSplashOpenTheirPages()
    {
        OpenedUrls opened;
        AboutBox about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(about.windowTitle(), QStringLiteral("About Vantrel"));
        QVERIFY(!about.isModal());
        auto *link = about.findChild<QLabel *>(QStringLiteral("lblLink"));
        QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
        click(about, "cmdOK");
        QVERIFY(!about.isVisible());

        SplashWindow splash;
        QCOMPARE(splash.size(), QSize(125, 125));
        QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
        splash.show();
        QTest::mouseClick(&splash, Qt::LeftButton);
        QCOMPARE(opened.urls, (QList<QUrl>{QUrl(QString(SponsorPages::aboutLink)), QUrl(QString(SponsorPages::page1.address))}));
    }
};

QTEST_MAIN(TestWindows)
#include "test_windows.moc"
