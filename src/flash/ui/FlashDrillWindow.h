#pragma once
#include "FlashDrill.h"
#include <QTimer>
#include <QWidget>
#include <array>

class Clock;
class FlashCardView;
class QButtonGroup;
class QLabel;
class QPushButton;

// Game > Flash Drill: one card after another, answered with H, S, D, P or
// the buttons. A right answer moves on after half a second, or at once on
// the next key; a wrong one waits for a key. Keys 1 to 5 choose what to
// drill; Escape closes the window.
class FlashDrillWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int nextCardDelay = 500; // ms after a right answer

    FlashDrillWindow(const FlashTable &table, HistoryDatabase &record, RandomSource &random, Clock &clock,
                     QWidget *parent = nullptr);

    void choose(FlashChoice::Kind kind);
    // An answer to the card shown; ignored while a verdict is shown or for
    // a play the hand does not allow.
    void answer(char action);
    void nextCard();

    const FlashDrill &drill() const { return flash; }
    FlashCardView *cardView() const { return cards; }
    const QTimer &nextCardTimer() const { return nextTimer; }
    QString verdictText() const;
    QString detailText() const;
    QString figuresText() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showVerdict(const FlashVerdict &verdict);
    void showFigures();

    FlashDrill flash;
    HistoryDatabase &history;
    Clock &clock;
    double shownAt = 0.0; // clock seconds when the card was dealt
    FlashCardView *cards = nullptr;
    QButtonGroup *choices = nullptr;
    std::array<QPushButton *, 4> actionButtons{};
    QLabel *verdict = nullptr;
    QLabel *detail = nullptr;
    QLabel *figures = nullptr;
    QTimer nextTimer;
};
