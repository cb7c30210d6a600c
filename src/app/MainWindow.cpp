#include "MainWindow.h"
#include "AboutBox.h"
#include "Alert.h"
#include "CardLibrary.h"
#include "FileExists.h"
#include "HelpWindow.h"
#include "PictureBox.h"
#include "PreferencesDialog.h"
#include "ProgramFolder.h"
#include "ScreenPlacement.h"
#include "SettingsStore.h"
#include "SponsorPages.h"
#include "StrategyWindow.h"
#include "TableKeys.h"
#include "TableLayout.h"
#include "TableSurface.h"
#include "Twips.h"
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <cmath>

MainWindow::MainWindow(Clock &clock, DeckSource &deckSource, QWidget *parent)
    : QMainWindow(parent), sounds(prefs.prfSound), training([this](const QString &text) { setStatus(text); }),
      flash(chart, training.session().database(), clock), casino(*this),
      clock(clock), deckSource(deckSource), bestPlay(chart)
{
    setWindowTitle(QStringLiteral("Vantrel"));
    // The table has one size: the desktop is asked for no maximise button
    // and no resizing, and the window's size is fixed where it is fitted.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    Form_Initialize();
    createControls();
    createMenus();
    new TableKeys(this, table,
                  {{Qt::Key_H, [this] { lblHit_Click(); }},
                   {Qt::Key_S, [this] { lblStand_Click(); }},
                   {Qt::Key_D, [this] { lblDouble_Click(); }},
                   {Qt::Key_P, [this] { lblSplit_Click(); }},
                   {Qt::Key_N, [this] { if (!casino.answerInsurance(false)) picDeal_Click(); }},
                   {Qt::Key_Space, [this] { picDeal_Click(); }}});
}

MainWindow::~MainWindow() = default;

QString MainWindow::statusText() const
{
    return lblstatus->text();
}

int MainWindow::bank() const
{
    return lblBank->text().toInt();
}

void MainWindow::Form_Initialize()
{
    QDir::setCurrent(ProgramFolder::path());
    cdtInit(cWidth, cHeight);
    SettingsStore store;
    prefs.load(store);
    roundOver = true;
    // Halves round to even, as the default floating-point mode does.
    cardSpace = static_cast<int16_t>(std::nearbyint(cWidth * 0.22));
    cardRise = static_cast<int16_t>(std::nearbyint(cHeight * 0.2));
}

void MainWindow::createControls()
{
    table = new TableSurface(this);
    setCentralWidget(table);
    connect(table, &TableSurface::mouseMoved, this, &MainWindow::Form_MouseMove);

    auto pictureBox = [this](bool visible) {
        auto *box = new PictureBox(table);
        box->setVisible(visible);
        return box;
    };
    picComputerBack = pictureBox(false);
    picComputerBack2 = pictureBox(false);
    picPlayerBack = pictureBox(false);
    picplayerBack2 = pictureBox(false);
    picDealBack = pictureBox(false);
    picAnimate = pictureBox(false);
    picComputerHand = pictureBox(true);
    picPlayerHand = pictureBox(true);
    for (int i = 3; i >= 0; --i) {
        picDeal[i] = pictureBox(true);
        picDeal[i]->setMouseTracking(true);
        picDeal[i]->installEventFilter(this);
        connect(picDeal[i], &PictureBox::clicked, this, &MainWindow::picDeal_Click);
    }
    picStatusBar = pictureBox(true);
    picStatusBar->setCursor(Qt::PointingHandCursor);
    connect(picStatusBar, &PictureBox::clicked, this, &MainWindow::picStatusBar_Click);

    auto label = [this](const QRect &place, const QString &style) {
        auto *text = new QLabel(table);
        text->setGeometry(place);
        text->setStyleSheet(style);
        text->setAlignment(Qt::AlignCenter);
        return text;
    };
    const QString totals = QStringLiteral(
        "color: #ffffff; background: transparent; font: bold 20px 'DejaVu Sans';");
    const QString stakes = QStringLiteral("color: #f3e3a2; font: bold 13px 'DejaVu Sans';");
    lblstatus = label(TableLayout::status, QStringLiteral("font: bold 17px 'DejaVu Sans';"));
    lblBank = label(TableLayout::bank, QStringLiteral(
        "color: #ffd75e; background: transparent; font: bold 24px 'DejaVu Sans Mono';"));
    lblBank->setText(QStringLiteral("1000"));
    lblDealer = label(TableLayout::dealerTotal, totals);
    lblPlayer = label(TableLayout::playerTotal, totals);
    lblBankComputer = label(TableLayout::dealerStake, stakes);
    lblBankPlayer = label(TableLayout::playerStake, stakes);
    lblBankComputer->setText(QStringLiteral("$100"));
    lblBankPlayer->setText(QStringLiteral("$100"));
    lblDealer->setText(QStringLiteral("0"));
    lblPlayer->setText(QStringLiteral("0"));
    setStatusColor(QColor(250, 175, 200));

    // The table picture carries the buttons' faces; the labels only take clicks.
    const std::array<QRect, 4> buttons{TableLayout::hitButton, TableLayout::standButton,
                                       TableLayout::doubleButton, TableLayout::splitButton};
    std::array<QLabel **, 4> actionLabels{&lblHit, &lblStand, &lblDouble, &lblSplit};
    for (int i = 0; i < 4; ++i) {
        QLabel *button = label(buttons[i], QString());
        button->setCursor(Qt::PointingHandCursor);
        button->setMouseTracking(true);
        // A move over a button stays there: passed on, the table's own move would take the frame away again.
        button->setAttribute(Qt::WA_NoMousePropagation);
        button->installEventFilter(this);
        *actionLabels[i] = button;
        Shape[i] = new QFrame(table);
        Shape[i]->setGeometry(buttons[i].adjusted(-4, -4, 4, 4));
        Shape[i]->setStyleSheet(QStringLiteral("border: 3px solid #ffe27a; border-radius: 9px; background: transparent;"));
        Shape[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        Shape[i]->hide();
    }
    lblHit->setObjectName(QStringLiteral("lblHit"));
    lblStand->setObjectName(QStringLiteral("lblStand"));
    lblDouble->setObjectName(QStringLiteral("lblDouble"));
    lblSplit->setObjectName(QStringLiteral("lblSplit"));

    Timer1.setTimerType(Qt::PreciseTimer);
    Timer1.setInterval(3000);
    connect(&Timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
    Timer2.setTimerType(Qt::PreciseTimer);
    Timer2.setInterval(3000);
    connect(&Timer2, &QTimer::timeout, this, &MainWindow::Timer2_Timer);
    Timer2.start();
}

void MainWindow::createMenus()
{
    auto entry = [this](QMenu *menu, const QString &caption, const char *name, auto handler) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
    };
    QMenu *game = menuBar()->addMenu(QStringLiteral("&Game"));
    entry(game, QStringLiteral("&Strategy Chart"), "mnushowChart", &MainWindow::mnushowChart_Click);
    entry(game, QStringLiteral("Preferences"), "mnuPref", &MainWindow::mnuPref_Click);
    training.attach(game, table);
    flash.attach(game, table);
    casino.attach(game);
    game->addSeparator();
    entry(game, QStringLiteral("E&xit"), "mnuExit", &MainWindow::mnuExit_Click);

    QMenu *sites = menuBar()->addMenu(QStringLiteral("Casinos"));
    entry(sites, SponsorPages::page1.caption, "mnuSites1", [this] { openSponsorPage(1); });
    entry(sites, SponsorPages::page2.caption, "mnuSites2", [this] { openSponsorPage(2); });
    entry(sites, SponsorPages::page3.caption, "mnuSites3", [this] { openSponsorPage(3); });

    QMenu *specials = menuBar()->addMenu(QStringLiteral("Specials"));
    entry(specials, SponsorPages::bonusCaption, "mnuBonus0", [this] { openSponsorPage(3); });
    entry(specials, SponsorPages::secondSpecialCaption, "mnuBonus1", [this] { openSponsorPage(3); });

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    entry(help, QStringLiteral("&Contents"), "mnuContents", &MainWindow::mnuContents_Click);
    entry(help, QStringLiteral("About Vantrel"), "mnuAbout", &MainWindow::mnuAbout_Click);
}

bool MainWindow::prepareTable()
{
    if (!prepared)
        prepared = loadPictures();
    return *prepared;
}

bool MainWindow::loadPictures()
{
    prefs.prfPKBackground = QStringLiteral("bjwood.jpg");
    const QString path = ProgramFolder::file(QStringLiteral("pics"), prefs.prfPKBackground);
    if (!FileExists(path)) {
        Alert::show(QStringLiteral("The background file ") + prefs.prfPKBackground + QStringLiteral(" is missing"));
        return false;
    }
    if (!thePic.load(path)) {
        Alert::show(Alert::procedureError(QStringLiteral("Form_Load"), QStringLiteral("Invalid picture")));
        return false;
    }
    // A smaller picture would leave the bank and the buttons out of reach.
    if (thePic.width() < TableLayout::pictureWidth || thePic.height() < TableLayout::pictureHeight) {
        Alert::show(QStringLiteral("The background file %1 is %2 x %3 pixels, smaller than the table's %4 x %5")
                        .arg(prefs.prfPKBackground).arg(thePic.width()).arg(thePic.height())
                        .arg(TableLayout::pictureWidth).arg(TableLayout::pictureHeight));
        return false;
    }
    AutoSizeToPicture();
    table->setPicture(thePic);

    const QSize deckSize(static_cast<int>(std::nearbyint(1.1 * cWidth)),
                         static_cast<int>(std::nearbyint(1.1 * cHeight)));
    for (PictureBox *box : picDeal)
        box->resize(deckSize);
    picDealBack->resize(deckSize);
    picBuffer = QPixmap(cWidth, cHeight);
    picAnimate->resize(cWidth, cHeight);

    picTop.load(ProgramFolder::file(QStringLiteral("pics"), QStringLiteral("border-top.png")));
    picBottom.load(ProgramFolder::file(QStringLiteral("pics"), QStringLiteral("border-bottom.png")));
    picSide1.load(ProgramFolder::file(QStringLiteral("pics"), QStringLiteral("border-left.png")));
    picSide2.load(ProgramFolder::file(QStringLiteral("pics"), QStringLiteral("border-right.png")));
    picStatusBar->resize(table->width() - 24, TableLayout::statusBarHeight);
    picBanner.load(ProgramFolder::file(QStringLiteral("pics"), QStringLiteral("banner0.png")));
    picBanner2 = picBanner;
    picBanner3 = picBanner;
    paintBannerStrip(0);

    if (prefs.delayUnmeasured || storedDelayTooLong())
        InitAnimDelay();
    return true;
}

bool MainWindow::Form_Load()
{
    if (!prepareTable())
        return false;
    SettingsStore store;
    const Preferences::WindowPosition stored = Preferences::loadMainScreen(store);
    frmStrings = new StrategyWindow(chart, prefs, this);
    const QPoint roomForChart = ScreenPlacement::leavingRoom(frameGeometry().size(), frmStrings->frameGeometry().width(),
                                                             screen()->availableGeometry());
    move(ScreenPlacement::fromStored(stored.x, stored.y, frameGeometry().width(), roomForChart, screen()));
    show();
    chart.importChart(ProgramFolder::path());
    frmStrings->showWindow();
    FirstInit();
    casino.load();
    loaded = true;
    // Activation may have come while loading; the first deal waits for the
    // table to be laid out.
    QTimer::singleShot(0, this, [this] {
        if (isActiveWindow())
            Form_Activate();
    });
    return true;
}

void MainWindow::AutoSizeToPicture()
{
    autoSizing = true;
    // The 25 beside the picture and the status bar is in twips.
    table->setFixedSize(thePic.width(), thePic.height() + TableLayout::statusBarHeight + Twips::toPixels(25, screen()));
    setFixedSize(sizeHint());
    autoSizing = false;
}

void MainWindow::Form_Activate()
{
    if (!loaded || activated || !prefs.prfAutoDeal)
        return;
    activated = true;
    untilClosed([this] { DealFirst(); });
}

void MainWindow::Form_Resize()
{
    if (isMaximized()) {
        hide();
        showNormal();
        show();
    }
    if (isMinimized() || isMaximized() || thePic.isNull())
        return;
    if (!autoSizing && !narrowLocked)
        AutoSizeToPicture();
    if (table->width() < 640)
        narrowLocked = true;
}

std::optional<Preferences::WindowPosition> MainWindow::mainWindowPosition() const
{
    if (isMinimized() || isMaximized())
        return std::nullopt;
    const QScreen *display = screen();
    return Preferences::WindowPosition{Twips::fromPixels(x(), display), Twips::fromPixels(y(), display)};
}

void MainWindow::Form_Unload()
{
    if (unloaded)
        return;
    unloaded = true;
    cdtTerm();
    SettingsStore store;
    prefs.save(store, frmStrings ? frmStrings->position() : std::nullopt, mainWindowPosition());
    Timer1.stop();
    Timer2.stop();
    if (frmStrings)
        frmStrings->close();
    if (helpWindow)
        helpWindow->close();
    if (aboutBox)
        aboutBox->close();
    // The program ends here, also from inside a round's wait: a quit left to
    // the last window's closing is posted, and a wait begun before it is
    // handled would drop it.
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
    else if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove) {
        if (watched == lblHit) lblHit_MouseMove();
        else if (watched == lblStand) lblStand_MouseMove();
        else if (watched == lblDouble) lblDouble_MouseMove();
        else if (watched == lblSplit) lblSplit_MouseMove();
        else picDeal_MouseMove();
    } else if (type == QEvent::MouseButtonPress && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == lblHit) lblHit_Click();
        else if (watched == lblStand) lblStand_Click();
        else if (watched == lblDouble) lblDouble_Click();
        else if (watched == lblSplit) lblSplit_Click();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::mnushowChart_Click()
{
    frmStrings->showWindow();
}

void MainWindow::mnuPref_Click()
{
    PreferencesDialog dialog(prefs, cWidth, cHeight, [this] { DrawDealDeck(); }, this);
    dialog.exec();
}

void MainWindow::mnuContents_Click()
{
    if (!helpWindow)
        helpWindow = new HelpWindow(this);
    helpWindow->showContents();
}

void MainWindow::mnuAbout_Click()
{
    if (!aboutBox)
        aboutBox = new AboutBox(this);
    aboutBox->show();
    aboutBox->raise();
}

void MainWindow::openSponsorPage(int page)
{
    const SponsorPage &chosen = page == 2 ? SponsorPages::page2 : page == 3 ? SponsorPages::page3 : SponsorPages::page1;
    AboutBox::RunShellExecute(QStringLiteral("open"), chosen.address, QStringLiteral("0"), QStringLiteral("0"), 1);
}
