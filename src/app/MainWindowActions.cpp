// The player's input: the deck, the four action buttons with the tutor's
// check, double and split, and the hover frames.
#include "MainWindow.h"
#include "PictureBox.h"
#include "StrategyWindow.h"
#include <QFrame>
#include <QLabel>

void MainWindow::picDeal_Click()
{
    if (isBusy())
        return;
    // Between rounds the deck always deals, also with auto-deal switched on
    // after the last round ended: otherwise the table could never deal again.
    if (roundOver)
        untilClosed([this] { DealFirst(); });
    else if (!prefs.prfAutoDeal)
        setStatus(QStringLiteral("Hit,, Stand, Double or Split"));
}

bool MainWindow::adviceAllows(const QString &expected, int16_t &mistakes)
{
    noteDecision(expected);
    if (prefs.prfAlwaysShowBestPlay || theBestPlay == expected)
        return true;
    ++mistakes;
    const bool stopped = mistakes == 1;
    highlightStrategy(stopped ? expected : QString());
    if (theBestPlay == QLatin1String("h"))
        setStatus(QStringLiteral("Should Hit.."));
    else if (theBestPlay == QLatin1String("s"))
        setStatus(QStringLiteral("Should Stand.."));
    else if (theBestPlay == QLatin1String("d"))
        setStatus(QStringLiteral("Should Double.."));
    else if (theBestPlay == QLatin1String("p"))
        setStatus(QStringLiteral("Should Split.."));
    if (stopped) {
        sounds.playsound(QStringLiteral("wrong2.wav"));
        return false;
    }
    mistakes = 0;
    return true;
}

void MainWindow::lblHit_Click()
{
    if (isBusy() || casino.play(CasinoTable::Action::Hit))
        return;
    if (!roundOver) {
        setStatus(QString());
        if (!adviceAllows(QStringLiteral("h"), hitMistakes))
            return;
    }
    untilClosed([this] { playerhits(); });
}

void MainWindow::lblStand_Click()
{
    if (isBusy() || roundOver || casino.play(CasinoTable::Action::Stand))
        return;
    setStatus(QString());
    if (adviceAllows(QStringLiteral("s"), standMistakes))
        untilClosed([this] { playerstands(); });
}

void MainWindow::lblDouble_Click()
{
    if (isBusy() || casino.play(CasinoTable::Action::Double))
        return;
    setStatus(QString());
    if (!canDouble) {
        untilClosed([this] { showmessage(QStringLiteral("Doubling is not allowed after drawing..")); });
        return;
    }
    if (roundOver || !adviceAllows(QStringLiteral("d"), doubleMistakes))
        return;
    if (!roundOver && canDouble)
        untilClosed([this] { carryOutDouble(); });
}

void MainWindow::carryOutDouble()
{
    Busy busy(*this);
    wager = 50;
    // The hit may end this hand (a bust, or 21 which stands at once) and
    // move on to the second split hand or a new round: only the doubled
    // hand, still in play, is stood.
    const int serial = handSerial;
    playerhits();
    if (serial == handSerial && !roundOver)
        playerstands();
}

void MainWindow::lblSplit_Click()
{
    if (isBusy() || roundOver || casino.play(CasinoTable::Action::Split))
        return;
    untilClosed([this] {
        if (!canSplit)
            showmessage(QStringLiteral("Can only split same rank pair"));
        else {
            noteDecision(QStringLiteral("p"));
            carryOutSplit();
        }
    });
}

void MainWindow::carryOutSplit()
{
    Busy busy(*this);
    hideShapes();
    actionEnabled = false;
    setStatus(QString());
    playerHandX = 0;
    picPlayerHand->setImage(picPlayerBack->image());
    paintCard(picPlayerHand, 0, 0, playerHand[0]);

    const Card second = playerHand[1];
    paintMovingCard(second.cardIndex, 0);
    const int waitingX = picPlayerHand->width() - cWidth - 10;
    AnimateCard(picPlayerHand->x() + cWidth, picPlayerHand->y(), picPlayerHand->x() + waitingX, picPlayerHand->y(), 1,
                second.cardIndex, 0);
    paintCard(picPlayerHand, waitingX, 0, second);
    splitHand.reset();
    splitHand.add(second);
    playerHand.truncate(1);
    splitting = true;
    canSplit = false;

    const int serial = handSerial;
    playerhits();
    if (serial == handSerial && !roundOver)
        canDouble = true;
}

void MainWindow::lblHit_MouseMove()
{
    if (!roundOver && actionEnabled) {
        hideShapes();
        Shape[0]->show();
    }
}

void MainWindow::lblStand_MouseMove()
{
    if (!roundOver && actionEnabled) {
        hideShapes();
        Shape[1]->show();
    }
}

void MainWindow::lblDouble_MouseMove()
{
    if (!roundOver && canDouble && actionEnabled) {
        hideShapes();
        Shape[2]->show();
    }
}

void MainWindow::lblSplit_MouseMove()
{
    if (!roundOver && actionEnabled && canSplit) {
        hideShapes();
        Shape[3]->show();
    }
}

void MainWindow::picDeal_MouseMove()
{
    if (roundOver)
        hideShapes();
}

void MainWindow::Form_MouseMove()
{
    hideShapes();
}
