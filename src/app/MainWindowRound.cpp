// Round play: the deal, the player's hit, the dealer's play with the
// settlement, and the second hand of a split.
#include "CardLibrary.h"
#include "CardShape.h"
#include "DealerRule.h"
#include "MainWindow.h"
#include "OddsLine.h"
#include "PictureBox.h"
#include "StrategyWindow.h"
#include "TableSurface.h"
#include "TransparentBlit.h"
#include <QLabel>
#include <QPainter>
#include <cmath>

namespace {
constexpr QRgb white = 0xFFFFFF;
}

void MainWindow::prepareMovingCard()
{
    picAnimate->move(picDeal[0]->pos() + QPoint(8, 4));
    picAnimate->hide();
}

void MainWindow::addToBank(int amount)
{
    lblBank->setText(QString::number(bank() + amount));
    training.handSettled(amount, bank(), !splitting);
}

void MainWindow::lookUpBestPlay()
{
    theBestPlay = bestPlay.chartLookup(playerHand, playerTotal, dealerTotal, theChartLine);
    if (prefs.prfAlwaysShowBestPlay)
        highlightStrategy();
    else
        frmStrings->setOdds(QString()); // nothing is revealed before the player acts
}

void MainWindow::highlightStrategy(const QString &stoppedChoice)
{
    frmStrings->ShowStrategy(theChartLine);
    frmStrings->setOdds(OddsLine::text(liveOdds.compute(oddsSituation()), wager, theBestPlay, stoppedChoice));
}

void MainWindow::shuffleCards()
{
    training.build(deckSource, deck.deck);
    DrawDealDeck();
    deck.fillStock();
}

void MainWindow::dealNextRoundIfAuto()
{
    // The pause is taken once the action that ended the round has returned,
    // so outcomes settled one inside another (a split) share one pause.
    if (prefs.prfAutoDeal && roundOver) {
        nextRoundDue = true;
        nextRoundSeconds = clock.elapsedSeconds() + 1.5;
    }
}

void MainWindow::dealPendingRound()
{
    // Dealing from the outermost level, in a loop, keeps a run of naturals
    // (each of which ends its round inside the deal) from nesting deals.
    // Nothing is busy during the pause: a click on the deck deals at once,
    // and the deal it starts cancels this one.
    if (dealingPending || unloaded)
        return;
    dealingPending = true;
    untilClosed([this] {
        while (nextRoundDue) {
            const int pause = static_cast<int>(std::ceil((nextRoundSeconds - clock.elapsedSeconds()) * 1000.0));
            if (pause > 0) {
                shortDelay(pause);
                continue;
            }
            nextRoundDue = false;
            DealFirst();
        }
    });
    dealingPending = false;
}

void MainWindow::dealDealerCard(int position)
{
    // The up-card comes off the stock; the hole card is only a back until
    // the player stands.
    AnimateCard(picAnimate->x(), picAnimate->y(), picComputerHand->x() + position * cardSpace, picComputerHand->y(),
                1, prefs.prfPKBackFace, 1);
    if (position == 0) {
        const Card upCard = deck.top();
        paintCard(picComputerHand, 0, 0, upCard);
        paintCard(picComputerBack2, 0, 0, upCard);
        dealerTotal = cardValue(upCard);
        lblDealer->setText(QString::number(dealerTotal));
        deck.dealTo(dealerHand);
    } else {
        cdtDraw(&picComputerHand->image(), cardSpace, 0, prefs.prfPKBackFace, 1, white);
    }
}

void MainWindow::DealFirst()
{
    Busy busy(*this);
    nextRoundDue = false;
    ++handSerial;
    if (!welcomeShown) {
        showmessage(QStringLiteral("Welcome to Vantrel"));
        shortDelay(2500);
        welcomeShown = true;
    }
    if (casino.isOn())
        return casino.deal();
    resetGraphics();
    shuffleCards();
    lblPlayer->setText(QStringLiteral("0"));
    lblDealer->setText(QStringLiteral("0"));

    actionEnabled = true;
    canDouble = true;
    canSplit = false;
    splitting = false;
    playerTotal = 0;
    dealerTotal = 0;
    wager = 25;
    playerHandX = 75;
    outcomeTicks = 0;
    theBestPlay.clear();
    hitMistakes = doubleMistakes = standMistakes = 0;
    hideShapes();
    playerHand.reset();
    dealerHand.reset();
    splitHand.reset();
    setStatus(QStringLiteral("Dealing.."));
    frmStrings->setOdds(QString());

    prepareMovingCard();
    const QRect deckArea = picDeal[0]->geometry();
    const QPixmap pile = picDeal[0]->image();
    table->paintPersistent([&](QPainter &painter) { painter.drawPixmap(deckArea.topLeft(), pile); });
    {
        QPainter buffer(&BoardBuffer);
        buffer.drawPixmap(deckArea.topLeft(), pile);
    }
    paintMovingCard(prefs.prfPKBackFace, 1);
    for (int i = 1; i < 4; ++i)
        picDeal[i]->hide();
    picDeal[0]->show();
    shortDelay(200);

    for (int i = 0; i < 2; ++i) {
        dealDealerCard(i);
        sounds.playsound(QStringLiteral("deal.wav"));
        AnimateCard(picAnimate->x(), picAnimate->y(), picPlayerHand->x() + playerHandX + i * cardSpace,
                    picPlayerHand->y(), 1, prefs.prfPKBackFace, 1);
        const Card card = deck.top();
        paintCard(picPlayerHand, i * cardSpace + playerHandX, 0, card);
        playerTotal += card.rank == 1 ? 11 : cardValue(card);
        lblPlayer->setText(QString::number(playerTotal));
        deck.dealTo(playerHand);
    }
    if (playerHand[0].rank == 1 && playerHand[1].rank == 1) {
        playerTotal = 12;
        lblPlayer->setText(QString::number(playerTotal));
    }
    picComputerHand->show();
    picPlayerHand->show();
    if (playerTotal < 21)
        lookUpBestPlay();
    roundOver = false;

    if (playerTotal == 21) {
        showmessage(QStringLiteral("Blackjack"));
        sounds.playsound(QStringLiteral("won.wav"));
        shortDelay(150);
        theBestPlay = QStringLiteral("s");
        playerstands();
    } else {
        canSplit = playerHand[0].rank == playerHand[1].rank;
        setStatus(canSplit ? QStringLiteral("Hit, Stand, Double or Split..") : QStringLiteral("Hit, Stand, or Double.."));
    }
}

void MainWindow::discardSplitRank(int rank)
{
    // At most two cards of the pair's rank are set aside per card dealt.
    for (int i = 0; i < 2; ++i) {
        if (deck.top().rank == rank)
            deck.dropTop();
    }
}

void MainWindow::playerhits()
{
    Busy busy(*this);
    hideShapes();
    actionEnabled = false;
    if (!roundOver) {
        prepareMovingCard();
        canDouble = false;
        if (splitting)
            discardSplitRank(playerHand[0].rank);
        const Card card = deck.top();
        paintMovingCard(card.cardIndex, 0);
        const int n = playerHand.count();
        AnimateCard(picAnimate->x(), picAnimate->y(), picPlayerHand->x() + playerHandX + n * cardSpace + 1,
                    picPlayerHand->y(), 1, prefs.prfPKBackFace, 1);
        paintCard(picPlayerHand, n * cardSpace + playerHandX, 0, card);
        deck.dealTo(playerHand);
        // A stopped choice lets only the very same decision through; a new
        // card, or a split hand's second one, is a new decision.
        hitMistakes = doubleMistakes = standMistakes = 0;
        picComputerHand->show();
        picPlayerHand->show();
        playerTotal = handTotal(playerHand);
        lblPlayer->setText(QString::number(playerTotal));
        if (!prefs.prfAlwaysShowBestPlay)
            setStatus(QStringLiteral("Click an action button"));
        if (playerTotal < 21) {
            lookUpBestPlay();
            if (prefs.prfAlwaysShowBestPlay) {
                const int cards = playerHand.count();
                if (theBestPlay == QLatin1String("h"))
                    setStatus(cards == 3 ? QStringLiteral("Hit again..") : cards == 4 ? QStringLiteral("and again..")
                                                                                     : QStringLiteral("Hit.."));
                else if (theBestPlay == QLatin1String("s"))
                    setStatus(QStringLiteral("Stand.."));
                else if (theBestPlay == QLatin1String("p"))
                    setStatus(QStringLiteral("Split.."));
                else if (theBestPlay == QLatin1String("d"))
                    setStatus(QStringLiteral("Double.."));
            }
        }
        if (isBust(playerTotal)) {
            roundOver = true;
            frmStrings->setOdds(QString()); // the decision has passed
            addToBank(-wager);
            showhandbust(playerHand, false);
            if (splitting) {
                shortDelay(1500);
                playsplithand();
            }
            dealNextRoundIfAuto();
        } else if (isTwentyOne(playerTotal)) {
            showmessage(QStringLiteral("Blackjack"));
            sounds.playsound(QStringLiteral("won.wav"));
            shortDelay(150);
            playerstands();
        }
    }
    actionEnabled = true;
}

void MainWindow::playerstands()
{
    Busy busy(*this);
    canDouble = false;
    actionEnabled = false;
    hideShapes();
    if (!roundOver) {
        flipcard();
        for (;;) {
            dealerTotal = handTotal(dealerHand);
            lblDealer->setText(QString::number(dealerTotal));
            if (!dealerDraws(dealerTotal, playerTotal))
                break;
            prepareMovingCard();
            const Card card = deck.top();
            paintMovingCard(card.cardIndex, 0);
            const int n = dealerHand.count();
            AnimateCard(picAnimate->x(), picAnimate->y(), picComputerHand->x() + n * cardSpace + 1,
                        picComputerHand->y(), 1, prefs.prfPKBackFace, 1);
            paintCard(picComputerHand, n * cardSpace + 1, 0, card);
            deck.dealTo(dealerHand);
            picComputerHand->show();
            picPlayerHand->show();
        }
        for (int i = 0; i < dealerHand.count(); ++i)
            paintCard(picComputerHand, i * cardSpace, 0, dealerHand[i]);
        picComputerHand->refresh();

        frmStrings->setOdds(QString()); // the decision has passed
        if (isBust(playerTotal)) {
            addToBank(-wager);
            showhandbust(playerHand, false);
        } else if (isBust(dealerTotal)) {
            addToBank(wager);
            showhandbust(dealerHand, true);
        } else if (playerTotal > dealerTotal) {
            addToBank(wager);
            showgameover(true);
            showmessage(QStringLiteral("You win"));
        } else if (playerTotal < dealerTotal) {
            addToBank(-wager);
            showgameover(false);
            showmessage(QStringLiteral("Dealer wins"));
        } else {
            addToBank(0);
            showmessage(QStringLiteral("Push..(a tie)"));
            showgameover(false);
            showgameover(true);
        }

        if (splitting) {
            shortDelay(2000);
            playsplithand();
            splitting = false;
        } else {
            roundOver = true;
            dealNextRoundIfAuto();
        }
    }
    actionEnabled = true;
}

void MainWindow::showhandbust(const Hand &hand, bool isDealer)
{
    PictureBox *box = isDealer ? picComputerHand : picPlayerHand;
    const int offset = isDealer ? 0 : playerHandX;
    for (int i = 0; i <= hand.upperBound(); ++i) {
        if (hand[i].rank > 0)
            paintCard(box, i * cardSpace + offset, 0, hand[i], 2);
    }
    box->refresh();
    showmessage(isDealer ? QStringLiteral("Dealer busts, you win") : QStringLiteral("You bust..dealer wins"));
}

void MainWindow::showgameover(bool dealerSide)
{
    // White around the hatch's lines is what lets the card show through;
    // whitening the rim too keeps the hatch's own edge off the card's
    // smoother corners.
    QPixmap &overlay = picAnimate->image();
    overlay.fill(Qt::white);
    cdtDraw(&overlay, 0, 0, CardLibrary::hatchDesign, 1, white);
    {
        QPainterPath rim;
        rim.addRect(overlay.rect());
        QPainter painter(&overlay);
        painter.fillPath(rim.subtracted(CardShape::inset(1.5)), Qt::white);
    }
    PictureBox *box = dealerSide ? picComputerHand : picPlayerHand;
    const Hand &hand = dealerSide ? dealerHand : playerHand;
    const int offset = dealerSide ? 0 : playerHandX;
    const QRect cardArea(0, 0, picAnimate->width(), picAnimate->height());
    for (int i = 0; i < hand.count(); ++i) {
        const int x = i * cardSpace + offset;
        paintCard(box, x, 0, hand[i]);
        transparentBlit(box->image(), picAnimate->image(), cardArea, QPoint(x, 0), QColor(Qt::white));
    }
    box->refresh();
}

void MainWindow::playsplithand()
{
    Busy busy(*this);
    actionEnabled = true;
    ++handSerial;
    picPlayerHand->setImage(picPlayerBack->image());
    const Card splitCard = splitHand[0];
    paintMovingCard(splitCard.cardIndex, 0);
    const int waitingX = picPlayerHand->x() + picPlayerHand->width() - cWidth - 10;
    AnimateCard(waitingX, picPlayerHand->y(), picPlayerHand->x(), picPlayerHand->y(), 1, splitCard.cardIndex, 0);
    paintCard(picPlayerHand, 0, 0, splitCard);
    playerHand.reset();
    playerHand.add(splitCard);

    roundOver = false;
    dealerHand.reset();
    training.secondSplitHand();
    lblPlayer->setText(QStringLiteral("0"));
    lblDealer->setText(QStringLiteral("0"));
    dealerTotal = 0;
    playerTotal = 0;
    canDouble = true;
    // A double on the first hand does not carry over: each hand stakes 25.
    wager = 25;

    picComputerHand->setImage(picComputerBack->image());
    prepareMovingCard();
    paintMovingCard(prefs.prfPKBackFace, 1);
    for (int i = 0; i < 2; ++i)
        dealDealerCard(i);
    picComputerHand->show();
    picPlayerHand->show();
    splitting = false;
    discardSplitRank(splitCard.rank);
    const int serial = handSerial;
    playerhits();
    if (serial == handSerial && !roundOver)
        canDouble = true;
}
