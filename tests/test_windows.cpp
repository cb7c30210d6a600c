#include "AboutBox.h"
#include "AlertRecorder.h"
#include "HelpWindow.h"
#include "Preferences.h"
#include "PreferencesDialog.h"
#include "ProgramFolder.h"
#include "SplashWindow.h"
#include "SponsorPages.h"
#include "StrategyChart.h"
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
StrategyChart chartWithLines(int lines)
{
    StrategyChart chart;
    for (int i = 0; i < lines; ++i)
        chart.chartStrings[i] = {QStringLiteral("  group %1 ").arg(i), QStringLiteral("advice %1").arg(i)};
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

QLabel *advice(const QWidget &window, int line)
{
    return window.findChild<QLabel *>(QStringLiteral("lblAction_%1").arg(line));
}

QLabel *handGroup(const QWidget &window, int line)
{
    return window.findChild<QLabel *>(QStringLiteral("lblPlayerHand_%1").arg(line));
}

bool isHighlighted(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText) == Qt::white
           && label->palette().color(QPalette::Window) == Qt::black;
}

// The one highlighted advice line, or -1; -2 when the colours are mixed up.
int highlightedLine(const QWidget &window)
{
    int found = -1;
    for (int i = 0; i < StrategyWindow::lineCount; ++i) {
        const QLabel *label = advice(window, i);
        if (isHighlighted(label))
            found = found == -1 ? i : -2;
        else if (label->palette().color(QPalette::WindowText) != Qt::black
                 || label->palette().color(QPalette::Window) != Qt::white)
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
    void strategyCaptions_data();
    void strategyCaptions();
    void longCaptionsFitTheirRows();
    void showStrategyHighlightsOnlyTheAdvice();
    void closedStrategyWindowReloadsHidden();
    void firstStartPlacesChartTopRight();
    void chartPositionRoundTripsInTwips();
    void sliderSetsDelay_data();
    void sliderSetsDelay();
    void cancelKeepsDelayButNotSliderPosition();
    void saveRedrawsDeckOnlyForANewDesign();
    void defaultDesignSelectsSleeveAndShowsIt();
    void invalidDesignReportsAndKeepsIt();
    void switchesFillAndSave_data();
    void switchesFillAndSave();
    void helpShowsContents();
    void helpFileMissingOrEmpty();
    void aboutLinkOpensAddress();
    void splashPlacementAndClick();
};

void TestWindows::strategyCaptions_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("full chart") << 21;
    QTest::newRow("no bjstrings.txt") << 0;
    QTest::newRow("15 lines") << 15;
}

void TestWindows::strategyCaptions()
{
    QFETCH(int, lines);
    const StrategyChart chart = chartWithLines(lines);
    Preferences prefs = defaultPreferences();
    StrategyWindow window(chart, prefs);
    window.showWindow();

    QCOMPARE(window.windowTitle(), QStringLiteral("Blackjack Strategy"));
    for (int i = 0; i < StrategyWindow::lineCount; ++i) {
        const bool supplied = i < lines;
        QCOMPARE(handGroup(window, i)->text(), supplied ? QStringLiteral("group %1").arg(i) : QString());
        QCOMPARE(advice(window, i)->text(), supplied ? QStringLiteral(" advice %1").arg(i) : QStringLiteral(" "));
    }
    QCOMPARE(highlightedLine(window), -1);
    // Every row fits inside the window.
    QVERIFY(window.rect().contains(advice(window, 20)->geometry().bottomRight()));
}

void TestWindows::longCaptionsFitTheirRows()
{
    StrategyChart chart = chartWithLines(21);
    chart.chartStrings[5] = {QStringLiteral("13 to 16"), QStringLiteral("Stand: 16 v 2-6, 15 v 3-5, 14 v 5; else hit")};
    chart.chartStrings[19] = {QStringLiteral("9-9"), QStringLiteral("Split against 9 and ace, otherwise stand")};
    Preferences prefs = defaultPreferences();
    StrategyWindow window(chart, prefs);
    window.showWindow();
    for (int line : {5, 19}) {
        for (const QLabel *label : {handGroup(window, line), advice(window, line)})
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
    }
    QVERIFY(window.font().pixelSize() >= 9);
}

void TestWindows::showStrategyHighlightsOnlyTheAdvice()
{
    const StrategyChart chart = chartWithLines(21);
    Preferences prefs = defaultPreferences();
    StrategyWindow window(chart, prefs);
    window.showWindow();
    const QPalette handColours = handGroup(window, 13)->palette();

    window.ShowStrategy(13);
    QCOMPARE(highlightedLine(window), 13);
    QCOMPARE(handGroup(window, 13)->palette().color(QPalette::Window), QColor(0xE0E0E0));
    QCOMPARE(handGroup(window, 13)->palette().color(QPalette::WindowText), handColours.color(QPalette::WindowText));

    window.ShowStrategy(0);
    QCOMPARE(highlightedLine(window), 0);
    window.ShowStrategy(20);
    QCOMPARE(highlightedLine(window), 20);

    // A line the lookup never produces changes nothing.
    window.ShowStrategy(21);
    window.ShowStrategy(-1);
    QCOMPARE(highlightedLine(window), 20);
}

void TestWindows::closedStrategyWindowReloadsHidden()
{
    StrategyChart chart = chartWithLines(21);
    Preferences prefs = defaultPreferences();
    StrategyWindow window(chart, prefs);
    window.showWindow();
    window.ShowStrategy(4);
    window.close();
    QVERIFY(!window.isVisible());

    // Captions are taken again at the next load.
    chart.chartStrings[7][1] = QStringLiteral("Split");
    window.ShowStrategy(7);
    QVERIFY(!window.isVisible());
    QCOMPARE(advice(window, 7)->text(), QStringLiteral(" Split"));
    QCOMPARE(highlightedLine(window), 7);

    window.showWindow();
    QVERIFY(window.isVisible());
    QCOMPARE(highlightedLine(window), 7);

    // Reopening an open window does not reload it.
    window.showWindow();
    QCOMPARE(highlightedLine(window), 7);
}

void TestWindows::firstStartPlacesChartTopRight()
{
    const StrategyChart chart;
    Preferences prefs = defaultPreferences();
    StrategyWindow window(chart, prefs);
    window.showWindow();
    const QRect available = window.screen()->availableGeometry();
    QCOMPARE(window.frameGeometry().right(), available.right());
    QCOMPARE(window.frameGeometry().top(), available.top());
}

void TestWindows::chartPositionRoundTripsInTwips()
{
    const StrategyChart chart;
    Preferences prefs = defaultPreferences();
    prefs.prfChartX = 1500;
    prefs.prfChartY = 3000;
    StrategyWindow window(chart, prefs);
    const QScreen *screen = window.screen();

    // Closed before it was ever shown: the place it would load at.
    auto stored = window.position();
    QVERIFY(stored);
    QCOMPARE(stored->x, 1500);
    QCOMPARE(stored->y, 3000);

    window.showWindow();
    QCOMPARE(window.pos(), QPoint(Twips::toPixels(1500, screen), Twips::toPixels(3000, screen)));

    window.move(Twips::toPixels(4500, screen), Twips::toPixels(600, screen));
    stored = window.position();
    QVERIFY(stored);
    QCOMPARE(stored->x, 4500);
    QCOMPARE(stored->y, 600);

    // A minimised window leaves the stored position alone.
    window.showMinimized();
    QVERIFY(!window.position());
    window.showNormal();

    // A closed window loads at the stored place again.
    window.close();
    stored = window.position();
    QVERIFY(stored);
    QCOMPARE(stored->x, 1500);
}

void TestWindows::sliderSetsDelay_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<int>("delay");
    QTest::newRow("fastest") << 1000 << 0;
    QTest::newRow("middle") << 500 << 500;
    QTest::newRow("just below middle") << 499 << 511;
    QTest::newRow("slowest") << 0 << 6000;
}

void TestWindows::sliderSetsDelay()
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

void TestWindows::cancelKeepsDelayButNotSliderPosition()
{
    Preferences prefs = defaultPreferences();
    prefs.prfScrollVal = 100;
    PreferencesDialog dialog(prefs, 71, 96, [] {});
    dialog.show();
    control<QSlider>(dialog, "HScroll1")->setValue(800);
    control<QCheckBox>(dialog, "ckSounds")->setChecked(true);
    QTest::mouseClick(control<QPushButton>(dialog, "cmdCancel"), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(prefs.prfAnimationDelay, 200);
    QCOMPARE(prefs.prfScrollVal, int16_t(100));
    QVERIFY(!prefs.prfSound);
}

void TestWindows::saveRedrawsDeckOnlyForANewDesign()
{
    Preferences prefs = defaultPreferences();
    int redraws = 0;
    {
        PreferencesDialog dialog(prefs, 71, 96, [&redraws] { ++redraws; });
        dialog.show();
        control<QSlider>(dialog, "HScroll1")->setValue(700);
        QTest::mouseClick(control<QPushButton>(dialog, "cmdSave"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    QCOMPARE(redraws, 0);
    QCOMPARE(prefs.prfPKBackFace, 65);
    QCOMPARE(prefs.prfScrollVal, int16_t(700));

    PreferencesDialog dialog(prefs, 71, 96, [&redraws] { ++redraws; });
    dialog.show();
    control<QComboBox>(dialog, "Combo1")->setCurrentIndex(3);
    QTest::mouseClick(control<QPushButton>(dialog, "cmdSave"), Qt::LeftButton);
    QCOMPARE(redraws, 1);
    QCOMPARE(prefs.prfPKBackFace, 56);
}

void TestWindows::defaultDesignSelectsSleeveAndShowsIt()
{
    Preferences prefs = defaultPreferences();
    PreferencesDialog dialog(prefs, 71, 96, [] {});
    dialog.show();
    auto *combo = control<QComboBox>(dialog, "Combo1");
    QCOMPARE(combo->count(), 13);
    QCOMPARE(combo->currentText(), QStringLiteral("Sleeve"));

    auto *picture = control<QLabel>(dialog, "picBacks");
    const QScreen *screen = dialog.screen();
    QCOMPARE(picture->width(), Twips::toPixels(Twips::fromPixels(71, screen) + 30, screen));
    QCOMPARE(picture->height(), Twips::toPixels(Twips::fromPixels(96, screen) + 30, screen));
    QVERIFY(combo->width() >= picture->width());
    QVERIFY(combo->width() >= combo->sizeHint().width());
    QCOMPARE(combo->x(), picture->x());

    // The preview follows the choice.
    const QImage sleeve = picture->pixmap().toImage();
    QVERIFY(!sleeve.isNull());
    combo->setCurrentIndex(0);
    QVERIFY(picture->pixmap().toImage() != sleeve);
}

void TestWindows::invalidDesignReportsAndKeepsIt()
{
    AlertRecorder alerts;
    Preferences prefs = defaultPreferences();
    prefs.prfPKBackFace = 99;
    int redraws = 0;
    PreferencesDialog dialog(prefs, 71, 96, [&redraws] { ++redraws; });
    dialog.show();
    QCOMPARE(alerts.texts, QStringList{QStringLiteral("Error  in  Form_Activate (  Invalid property value  )")});

    QTest::mouseClick(control<QPushButton>(dialog, "cmdSave"), Qt::LeftButton);
    QCOMPARE(prefs.prfPKBackFace, 99);
    QCOMPARE(redraws, 0);
}

void TestWindows::switchesFillAndSave_data()
{
    QTest::addColumn<bool>("stored");
    QTest::newRow("all on") << true;
    QTest::newRow("all off") << false;
}

void TestWindows::switchesFillAndSave()
{
    QFETCH(bool, stored);
    Preferences prefs = defaultPreferences();
    prefs.prfSound = prefs.prfAnimation = prefs.prfAutoDeal = prefs.prfAlwaysShowBestPlay = stored;
    PreferencesDialog dialog(prefs, 71, 96, [] {});
    dialog.show();

    auto *sounds = control<QCheckBox>(dialog, "ckSounds");
    auto *animation = control<QCheckBox>(dialog, "ckAnimation");
    auto *autoDeal = control<QCheckBox>(dialog, "ckprfAutoDeal");
    auto *always = control<QRadioButton>(dialog, "opAlwaysShow");
    auto *onError = control<QRadioButton>(dialog, "opShowOnError");
    QCOMPARE(sounds->isChecked(), stored);
    QCOMPARE(animation->isChecked(), stored);
    QCOMPARE(autoDeal->isChecked(), stored);
    QCOMPARE(always->isChecked(), stored);
    QCOMPARE(onError->isChecked(), !stored);
    QCOMPARE(always->text(), QStringLiteral("Always Show Best Play "));

    sounds->setChecked(!stored);
    animation->setChecked(!stored);
    autoDeal->setChecked(!stored);
    (stored ? onError : always)->setChecked(true);
    QTest::mouseClick(control<QPushButton>(dialog, "cmdSave"), Qt::LeftButton);
    QCOMPARE(prefs.prfSound, !stored);
    QCOMPARE(prefs.prfAnimation, !stored);
    QCOMPARE(prefs.prfAutoDeal, !stored);
    QCOMPARE(prefs.prfAlwaysShowBestPlay, !stored);
}

void TestWindows::helpShowsContents()
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

void TestWindows::helpFileMissingOrEmpty()
{
    QTemporaryDir folder;
    ProgramFolder::setPath(folder.path());
    AlertRecorder alerts;
    HelpWindow help;
    help.showContents();

    QFile empty(folder.filePath(QStringLiteral("vantrel.hlp")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    help.showContents();
    ProgramFolder::setPath(QString());

    QCOMPARE(alerts.texts.size(), 2);
    QVERIFY(alerts.texts[0].contains(QStringLiteral("vantrel.hlp is missing")));
    QCOMPARE(alerts.texts[1], alerts.texts[0]);
    QVERIFY(!help.isVisible());
}

void TestWindows::aboutLinkOpensAddress()
{
    OpenedUrls opened;
    AboutBox about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.windowTitle(), QStringLiteral("About Vantrel"));
    QVERIFY(!about.isModal());

    auto *link = about.findChild<QLabel *>(QStringLiteral("lblLink"));
    QVERIFY(link->text().contains(QString(SponsorPages::aboutLink)));
    QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
    QCOMPARE(opened.urls, QList<QUrl>{QUrl(QString(SponsorPages::aboutLink))});

    QTest::mouseClick(about.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(!about.isVisible());
}

void TestWindows::splashPlacementAndClick()
{
    OpenedUrls opened;
    SplashWindow splash;
    const QRect screen = splash.screen()->geometry();
    QCOMPARE(splash.size(), QSize(125, 125));
    QCOMPARE(splash.pos(), QPoint(qRound(screen.width() / 2.0 - 62.5), qRound(screen.height() / 3.5)));
    QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);

    splash.show();
    QTest::mouseClick(&splash, Qt::LeftButton);
    QCOMPARE(opened.urls, QList<QUrl>{QUrl(QString(SponsorPages::page1.address))});
}

QTEST_MAIN(TestWindows)
#include "test_windows.moc"
