#pragma once
#include "CasinoChart.h"
#include "CasinoChartCache.h"
#include "CasinoEngine.h"
#include "CasinoRound.h"
#include "DealingShoe.h"
#include "GameRules.h"
#include "HandsLayout.h"
#include "LiveOdds.h"
#include "StrategyChart.h"
#include <QObject>
#include <QPixmap>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class MainWindow;
class QFrame;
class QLabel;
class QMenu;
class QPainter;
class RandomSource;
class ShoeSource;

// The casino table in the program's window: the rules chosen under Game >
// Table Rules, a shoe dealt down to its cut card, and the round played under
// those rules (insurance, surrender, up to four split hands), with the tutor
// reading a chart derived for them. The window keeps its felt, deck, buttons,
// waits and card flights; while a casino table is chosen its deal and its
// action buttons come here. The program's own table is "off" here.
class CasinoTable : public QObject {
    Q_OBJECT
public:
    using Action = CasinoRound::Action;

    explicit CasinoTable(MainWindow &window);
    ~CasinoTable() override;

    // Before the table loads: where the shoe's order comes from (tests stack it).
    void useShoeSource(ShoeSource &source);
    // Game > Table Rules..., the Surrender button and the casino keys.
    void attach(QMenu *game);
    // Sits at the stored table once the window is laid out.
    void load();
    bool isOn() const { return rules.casino; }
    const GameRules &tableRules() const { return rules; }
    // Plays the table's rules from now on, stored, with a new bank.
    void sitAt(const GameRules &newRules);
    void chooseRules();

    // The window's deal and action buttons, while a casino table is on;
    // false when it is off, for the program's table to play them.
    void deal();
    bool play(Action action);
    // Y or I, and N: false when no insurance is being asked.
    bool answerInsurance(bool take);

    // What the table shows, for tests and pictures.
    const CasinoRound *round() const { return currentRound.get(); }
    const DealingShoe *shoe() const { return dealingShoe.get(); }
    const CasinoChart &chart() const { return casinoChart; }
    QString bankText() const;
    // Every hand the window settled, in order: its round and result in
    // tenths of the stake.
    struct SettledHand {
        int round;
        int hand;
        int result;
    };
    const std::vector<SettledHand> &settledHands() const { return settled; }
    QLabel *surrenderButton() const { return surrenderLabel; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void switchOn();
    void switchOff();
    void deriveChart();
    void setBank(int halves);
    void carryOut(Action action);
    void takeInsuranceAnswer(bool take);
    // Brings the pictures up to the round: flights of every card dealt
    // since, the hole card turned, then the prompt or the settlement.
    void catchUp();
    void flyToHand(int hand, int card);
    void flyToDealer(int card, bool faceDown);
    void turnHoleCard();
    void prompt();
    void settle();
    void paintHands();
    void paintDealer();
    void paintCardAt(QPainter &painter, const QRect &place, int code, int mode) const;
    QRect handsArea() const;
    HandsLayout handsLayout(const std::vector<int> &cards) const;
    QString advice() const;
    bool tutorAllows(const QString &code);
    void showOdds(const QString &stoppedChoice = QString());
    void showAdviceLine();
    // The values of the active hand's plays in chips, where the engine values them.
    std::optional<ActionOdds> odds() const;
    // Hands the record the choice about to be played, with the values of every play open.
    void noteDecision(Action action);
    void hideSurrenderFrame();

    MainWindow &window;
    GameRules rules = GameRules::program();
    std::unique_ptr<RandomSource> random;
    std::unique_ptr<ShoeSource> ownSource;
    ShoeSource *source = nullptr;
    std::unique_ptr<DealingShoe> dealingShoe;
    std::unique_ptr<CasinoRound> currentRound;
    std::unique_ptr<CasinoEngine> engine;
    CasinoChartCache cache;
    CasinoChart casinoChart;
    StrategyChart wording; // the chart in words, for the strategy window

    QPixmap programFelt;
    QPixmap cleanTable; // the felt as the round began, behind the hands
    QLabel *surrenderLabel = nullptr;
    QFrame *surrenderFrame = nullptr;

    // What the pictures show of the round so far.
    std::vector<int> shownCards; // per hand
    int dealerShown = 0;
    bool holeTurned = false;
    int roundSerial = 0;
    int bankHalves = 2000;
    int mistakes = 0; // wrong choices stopped for the decision in front of the player
    std::vector<SettledHand> settled;
};
