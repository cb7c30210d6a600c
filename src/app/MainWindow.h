#pragma once
#include "BannerCycle.h"
#include "BestPlay.h"
#include "CasinoTable.h"
#include "Clock.h"
#include "Deck.h"
#include "DeckSource.h"
#include "FlashDrillEntry.h"
#include "LiveOdds.h"
#include "Preferences.h"
#include "SoundPlayer.h"
#include "StrategyChart.h"
#include "TrainingRecorder.h"
#include <QMainWindow>
#include <QPixmap>
#include <QTimer>
#include <array>
#include <optional>

class QLabel;
class QFrame;
class PictureBox;
class TableSurface;
class StrategyWindow;
class HelpWindow;
class AboutBox;

// The card table. It owns the whole game: the deck and hands, the round
// state and bank, the strategy chart, the preferences, and every picture and
// label of the table. Its procedures are spread over several files by
// subject: life cycle, table graphics, round play, the player's actions,
// and messages with timers.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Clock &clock, DeckSource &deckSource, QWidget *parent = nullptr);
    ~MainWindow() override;

    // --- life cycle ---
    bool Form_Load(); // false: no background picture, the window must not be used
    // What loading does before the window shows: the pictures, the sizes and
    // the animation delay's measurement. Start-up runs it behind the splash,
    // so the measurement costs the player no time; Form_Load runs it if not.
    bool prepareTable();
    void Form_Unload();
    void FirstInit();
    void Form_Activate();
    void Form_Resize();
    void AutoSizeToPicture();
    void shortDelay(int delayTime)
    {
        // Closing the table inside a wait ends the procedure that waited, and
        // the round with it: nothing of it runs once the table is gone.
        if (!unloaded)
            clock.shortDelay(delayTime);
        endIfUnloaded();
    }

    // --- table graphics ---
    void resetGraphics();
    void DrawDealDeck();
    void AnimateCard(int startX, int startY, int targetX, int targetY, int16_t step, int code, int mode);
    void flipcard();
    void InitAnimDelay();
    // What InitAnimDelay times: 150 card frames, and the 61 steps of a banner slide.
    void animationPass(int delay);
    void bannerPass(int delay);

    // --- round play ---
    void DealFirst();
    void playerhits();
    void playerstands();
    void playsplithand();
    void showhandbust(const Hand &hand, bool isDealer);
    void showgameover(bool dealerSide);
    void shuffleCards();

    // --- the player's input ---
    void picDeal_Click();
    void lblHit_Click();
    void lblStand_Click();
    void lblDouble_Click();
    void lblSplit_Click();
    void lblHit_MouseMove();
    void lblStand_MouseMove();
    void lblDouble_MouseMove();
    void lblSplit_MouseMove();
    void picDeal_MouseMove();
    void Form_MouseMove();

    // --- messages, timers, banners ---
    void showmessage(const QString &text);
    void Timer1_Timer();
    void Timer2_Timer();
    void rotatebanner();
    void picStatusBar_Click();

    // --- menus ---
    void mnushowChart_Click();
    void mnuPref_Click();
    void mnuExit_Click() { close(); }
    void mnuContents_Click();
    void mnuAbout_Click();

    // True while a deal, an action or a scheduled next round is running:
    // clicks and keys arriving from inside its waits are ignored.
    bool isBusy() const { return busyDepth > 0; }
    QString statusText() const;
    int bank() const;

    // Game state.
    Preferences prefs;
    StrategyChart chart;
    Deck deck;
    Hand playerHand, dealerHand, splitHand;
    bool roundOver = true;
    bool actionEnabled = false;
    bool canDouble = false;
    bool canSplit = false;
    bool splitting = false;
    int16_t playerTotal = 0;
    int16_t dealerTotal = 0;
    int16_t wager = 25;
    int32_t playerHandX = 75;
    int16_t outcomeTicks = 0;
    QString theBestPlay;
    int16_t theChartLine = 0;
    int16_t hitMistakes = 0, doubleMistakes = 0, standMistakes = 0;
    bool welcomeShown = false;
    int16_t picCtr = 0;
    int32_t bannerTick = 0;
    QString lastStatus;
    QColor savedStatusColor;

    int cWidth = 0, cHeight = 0;
    int16_t cardSpace = 0, cardRise = 0;
    bool autoSizing = false;

    // The table's pictures and labels.
    TableSurface *table = nullptr;
    QPixmap thePic;
    QPixmap BoardBuffer;
    QPixmap picBuffer;
    std::array<PictureBox *, 4> picDeal{};
    PictureBox *picDealBack = nullptr;
    PictureBox *picAnimate = nullptr;
    PictureBox *picPlayerHand = nullptr, *picPlayerBack = nullptr, *picplayerBack2 = nullptr;
    PictureBox *picComputerHand = nullptr, *picComputerBack = nullptr, *picComputerBack2 = nullptr;
    PictureBox *picStatusBar = nullptr;
    QPixmap picTop, picBottom, picSide1, picSide2;
    QPixmap picBanner, picBanner2, picBanner3;
    QLabel *lblstatus = nullptr, *lblBank = nullptr, *lblPlayer = nullptr, *lblDealer = nullptr;
    QLabel *lblBankPlayer = nullptr, *lblBankComputer = nullptr;
    QLabel *lblHit = nullptr, *lblStand = nullptr, *lblDouble = nullptr, *lblSplit = nullptr;
    std::array<QFrame *, 4> Shape{}; // Shape1..Shape4 around Hit, Stand, Double, Split
    QTimer Timer1, Timer2;
    StrategyWindow *frmStrings = nullptr;
    SoundPlayer sounds;
    TrainingRecorder training; // the record of decisions, statistics and drills
    FlashDrillEntry flash;     // Game > Flash Drill, key F
    CasinoTable casino;        // Game > Table Rules: plays the deal and the actions at a casino table

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The casino table plays with the window's pictures, waits and flights.
    friend class CasinoTable;
    // Thrown from a wait in which the table was closed; every handler that
    // can wait catches it (untilClosed), so it unwinds only our own frames.
    struct Closed {};
    void endIfUnloaded() const
    {
        if (unloaded)
            throw Closed{};
    }
    template <typename Work>
    void untilClosed(Work work)
    {
        if (unloaded)
            return;
        try {
            work();
        } catch (const Closed &) {
        }
    }
    bool loadPictures(); // the background, borders, banner strip and delay
    bool storedDelayTooLong();

    // Marks a deal or action in progress for as long as it lives.
    class Busy {
    public:
        explicit Busy(MainWindow &window) : window(window) { ++window.busyDepth; }
        ~Busy()
        {
            if (--window.busyDepth == 0)
                window.dealPendingRound();
        }
        Busy(const Busy &) = delete;
        Busy &operator=(const Busy &) = delete;

    private:
        MainWindow &window;
    };
    void Form_Initialize();
    void createControls();
    void createMenus();
    void placeHandAreas();
    void placePlayerArea(int left, int marginAboveStatusBar);
    void paintBorderStrips(QPainter &painter);
    void hideShapes();
    void prepareMovingCard();
    void paintMovingCard(int code, int mode);
    void dealDealerCard(int position);
    void paintCard(PictureBox *box, int x, int y, const Card &card, int mode = 0);
    void setStatus(const QString &text);
    void setStatusColor(const QColor &color);
    void addToBank(int amount);
    void lookUpBestPlay();
    // Highlights the hand's line and shows its odds; a stopped choice's
    // code adds what that choice costs.
    void highlightStrategy(const QString &stoppedChoice = QString());
    LiveOdds::Situation oddsSituation() const;
    void noteDecision(const QString &action);
    bool adviceAllows(const QString &expected, int16_t &mistakes);
    void carryOutDouble();
    void carryOutSplit();
    void dealNextRoundIfAuto();
    void dealPendingRound();
    void discardSplitRank(int rank);
    void openSponsorPage(int page);
    void paintBannerStrip(int bannerTop);
    std::optional<Preferences::WindowPosition> mainWindowPosition() const;

    Clock &clock;
    DeckSource &deckSource;
    BestPlay bestPlay;
    LiveOdds liveOdds;
    int busyDepth = 0;
    int handSerial = 0;
    bool nextRoundDue = false;   // auto-deal, once the action that ended the round has returned
    double nextRoundSeconds = 0; // ...and not before this time (clock seconds)
    bool dealingPending = false;
    bool loaded = false;
    std::optional<bool> prepared; // what prepareTable found, once it ran
    bool activated = false;
    bool unloaded = false;
    bool narrowLocked = false;
    BannerCycle banners;
    HelpWindow *helpWindow = nullptr;
    AboutBox *aboutBox = nullptr;
};
