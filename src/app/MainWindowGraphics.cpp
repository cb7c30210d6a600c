// The table's graphics: first layout, reset between rounds, the deck pile,
// card flights, the hole card's turn-over and the speed calibration.
#include "Alert.h"
#include "AnimationCalibration.h"
#include "CardLibrary.h"
#include "MainWindow.h"
#include "PictureBox.h"
#include "TableLayout.h"
#include "TableSurface.h"
#include <QFrame>
#include <QPainter>
#include <cmath>

namespace {
constexpr QRgb white = 0xFFFFFF;
constexpr int flipFrameMs = 8; // paces the turn-over so that it can be seen
// However large the stored delay, a card's flight ends within this time.
constexpr double longestFlightSeconds = 3.0;
constexpr QPoint deckPlace{350, 35};
constexpr QPoint dealerPlace{125, 85};

QRect areaOf(const QWidget *box)
{
    return box->geometry();
}
}

void MainWindow::paintCard(PictureBox *box, int x, int y, const Card &card, int mode)
{
    cdtDraw(&box->image(), x, y, card.cardIndex, mode, white);
}

void MainWindow::paintMovingCard(int code, int mode)
{
    // Transparent corners, so the card never carries the last one's rim.
    picAnimate->image().fill(Qt::transparent);
    cdtDraw(&picAnimate->image(), 0, 0, code, mode, white);
}

void MainWindow::hideShapes()
{
    for (QFrame *frame : Shape)
        frame->hide();
}

void MainWindow::paintBorderStrips(QPainter &painter)
{
    const int innerWidth = table->width();
    const int innerHeight = table->height();
    painter.drawPixmap(QRect(0, 0, innerWidth, picTop.height()), picTop);
    painter.drawPixmap(QRect(0, innerHeight - picBottom.height() - picStatusBar->height() - 12, innerWidth,
                             picBottom.height()),
                       picBottom);
    // Also along the bottom edge, below the status bar, as the first set-up
    // lays it: the table's own colour would show there as an empty band.
    painter.drawPixmap(QRect(0, innerHeight - picBottom.height(), innerWidth, picBottom.height()), picBottom);
    painter.drawPixmap(QRect(0, 0, picSide1.width() + 1, innerHeight), picSide1);
    painter.drawPixmap(QRect(innerWidth - picSide2.width(), 0, picSide2.width(), innerHeight), picSide2);
}

void MainWindow::placeHandAreas()
{
    const QSize dealerSize(10 * cardSpace, cHeight);
    for (PictureBox *box : {picComputerHand, picComputerBack, picComputerBack2})
        box->resize(dealerSize);
    const QSize playerSize(static_cast<int>(std::nearbyint(1.7 * dealerSize.width())), cHeight);
    picPlayerHand->resize(playerSize);
    picPlayerBack->resize(playerSize);
    picplayerBack2->resize(playerSize.width(), cHeight - cardRise);
}

void MainWindow::placePlayerArea(int left, int marginAboveStatusBar)
{
    const int top = table->height() - picPlayerHand->height() - picStatusBar->height() - marginAboveStatusBar;
    picPlayerHand->move(left, top);
    picPlayerBack->move(left, top);
    picplayerBack2->move(left, top + cardRise);
}

void MainWindow::FirstInit()
{
    hideShapes();
    placeHandAreas();
    placePlayerArea(20, 30);
    table->paintPersistent([this](QPainter &painter) { paintBorderStrips(painter); });
    picPlayerHand->copyFrom(table->image(), areaOf(picPlayerHand));
    picPlayerBack->copyFrom(table->image(), areaOf(picPlayerHand));
    for (PictureBox *box : {picComputerHand, picComputerBack, picComputerBack2}) {
        box->move(78, 110);
        box->copyFrom(table->image(), areaOf(box));
        box->refresh();
    }
    for (PictureBox *box : picDeal) {
        box->move(300, 50);
        box->show();
        box->copyFrom(table->image(), areaOf(box));
        box->refresh();
    }
    picDealBack->copyFrom(table->image(), areaOf(picDeal[0]));
    BoardBuffer = table->image();
    resetGraphics();
    Timer1.start();
}

void MainWindow::resetGraphics()
{
    for (PictureBox *box : picDeal)
        box->hide();
    picComputerHand->hide();
    picPlayerHand->hide();
    table->setPicture(thePic);

    for (PictureBox *box : picDeal) {
        box->move(deckPlace);
        box->copyFrom(table->image(), areaOf(box));
        box->refresh();
    }
    picDealBack->copyFrom(table->image(), areaOf(picDeal[0]));

    const int innerHeight = table->height();
    placePlayerArea(50, 80);

    table->paintPersistent([this](QPainter &painter) { paintBorderStrips(painter); });
    picPlayerHand->copyFrom(table->image(), areaOf(picPlayerHand));
    picPlayerBack->copyFrom(table->image(), areaOf(picPlayerHand));

    for (PictureBox *box : {picComputerHand, picComputerBack, picComputerBack2})
        box->move(dealerPlace);
    // All three copies are taken where the area now stands: the turn-over
    // repaints from picComputerBack2, which the deal paints the up-card into.
    for (PictureBox *box : {picComputerHand, picComputerBack, picComputerBack2})
        box->copyFrom(table->image(), areaOf(picComputerHand));

    BoardBuffer = table->image();
    picStatusBar->setGeometry(12, innerHeight - picBottom.height() - picStatusBar->height(), table->width() - 24,
                              picStatusBar->height());
    picStatusBar->show();

    picComputerHand->show();
    picPlayerHand->show();
    for (PictureBox *box : picDeal)
        box->show();
    DrawDealDeck();
}

void MainWindow::DrawDealDeck()
{
    // picDeal[k] holds 4 - k stacked backs, rising 2 across and 1 down per card.
    for (int k = 0; k < 4; ++k) {
        for (int card = 0; card < 4 - k; ++card)
            cdtDraw(&picDeal[k]->image(), 2 * card, card, prefs.prfPKBackFace, 1, white);
        if (k > 0)
            picDeal[k]->move(picDeal[0]->pos());
    }
    for (PictureBox *box : picDeal) {
        box->refresh();
        box->show();
    }
}

void MainWindow::AnimateCard(int startX, int startY, int targetX, int targetY, int16_t step, int code, int mode)
{
    const bool movingDown = targetY > startY;
    const bool movingRight = !movingDown && startX < targetX;

    BoardBuffer = table->image();
    for (PictureBox *hand : {picPlayerHand, picComputerHand}) {
        const QRect area = areaOf(hand);
        const QPixmap handImage = hand->image();
        table->paintPersistent([&](QPainter &painter) { painter.drawPixmap(area.topLeft(), handImage); });
        QPainter buffer(&BoardBuffer);
        buffer.drawPixmap(area.topLeft(), handImage);
        buffer.end();
        hand->hide();
    }
    for (int i = 3; i >= 0; --i)
        picDeal[i]->hide();
    table->refresh();

    const int dx = std::abs(startX - targetX);
    const int dy = std::abs(startY - targetY);
    const bool xMajor = dx > dy;
    double xStep = 1.0, yStep = 1.0;
    if (dx > dy)
        yStep = double(dy) / dx;
    else if (dx < dy)
        xStep = double(dx) / dy;
    if (startX > targetX)
        xStep = -xStep;
    if (startY > targetY)
        yStep = -yStep;
    const int n = static_cast<int16_t>(xMajor ? dx : dy);
    double minor = xMajor ? startY : startX;

    const int cw = picAnimate->width();
    const int ch = picAnimate->height();
    picAnimate->hide();

    if (prefs.prfAnimation && step > 0) {
        const int frames = static_cast<int>(std::nearbyint(double(n) / step));
        const double flightStart = clock.elapsedSeconds();
        for (int frame = 0; frame < frames; ++frame) {
            if (xMajor) {
                startX += xStep > 0 ? step : -step;
                minor += step * yStep;
                startY = static_cast<int>(std::floor(minor));
            } else {
                startY += yStep > 0 ? step : -step;
                minor += step * xStep;
                startX = static_cast<int>(std::floor(minor));
            }
            const int x = startX, y = startY;
            {
                QPainter save(&picBuffer);
                save.setCompositionMode(QPainter::CompositionMode_Source);
                save.drawPixmap(QPoint(0, 0), BoardBuffer, QRect(x, y, cw, ch));
            }
            cdtDraw(&BoardBuffer, x, y, code, mode, white);
            QPoint corner(x, y);
            if (movingDown)
                corner = targetX < x ? QPoint(x, y - 10) : QPoint(x - 10, y - 10);
            else if (movingRight)
                corner = QPoint(x - 10, y);
            const QRect shown = QRect(corner, QSize(cw + 10, ch + 10)).intersected(BoardBuffer.rect());
            table->blitToScreen(BoardBuffer, shown, shown.topLeft());
            {
                QPainter restore(&BoardBuffer);
                restore.setCompositionMode(QPainter::CompositionMode_Source);
                restore.drawPixmap(QPoint(x, y), picBuffer);
            }
            clock.spinUntil(int64_t(prefs.prfAnimationDelay) * 1000,
                            flightStart + longestFlightSeconds * (frame + 1) / frames);
            // The counting lets a close request through (but no input or timer tick).
            endIfUnloaded();
        }
    }
    table->blitToScreen(picAnimate->image(), QRect(0, 0, cw, ch), QPoint(targetX, targetY));
    picDeal[0]->show();
}

void MainWindow::flipcard()
{
    QPixmap &hand = picComputerHand->image();
    const QPixmap &background = picComputerBack2->image();
    const int w = picAnimate->width();
    const int h = picAnimate->height();
    auto frame = [&](double x, double width) {
        QPainter painter(&hand);
        painter.drawPixmap(0, 0, background);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QRectF(cardSpace + x, 0, width, h), picAnimate->image(),
                           PictureBox::devicePixels(picAnimate->image(), QRectF(0, 0, w, h)));
        painter.end();
        picComputerHand->repaint();
        shortDelay(flipFrameMs);
    };
    {
        QPainter painter(&hand);
        painter.drawPixmap(0, 0, background);
    }
    for (int i = 0; i <= cWidth - 1; i += 5)
        frame(i / 5.0, w - i);
    paintMovingCard(deck.top().cardIndex, 0);
    for (int i = 1; i <= cWidth; i += 5)
        frame(i / 5.0, i);
    for (int i = 10; i >= 1; --i)
        frame(i, w);
    deck.dealTo(dealerHand);
    for (int j = 0; j < dealerHand.upperBound(); ++j)
        paintCard(picComputerHand, j * cardSpace, 0, dealerHand[j]);
    picComputerHand->refresh();
}

bool MainWindow::storedDelayTooLong()
{
    // A flight is never longer than the table is wide.
    AnimationCalibration calibration(clock);
    const double longestFlight =
        table->width() * 1000.0 * prefs.prfAnimationDelay * calibration.secondsPerLoopStep();
    if (longestFlight <= longestFlightSeconds)
        return false;
    Alert::show(QStringLiteral("The animation delay ") + QString::number(prefs.prfAnimationDelay) +
                QStringLiteral(" is too slow for this computer; it is measured again"));
    return true;
}

void MainWindow::animationPass(int delay)
{
    const int w = picDeal[0]->width();
    const int h = picDeal[0]->height();
    for (int i = 0; i < 150; ++i) {
        {
            QPainter save(&picBuffer);
            save.drawPixmap(QPoint(0, 0), BoardBuffer, QRect(0, 0, w, h));
        }
        cdtDraw(&BoardBuffer, 0, 0, 64, 1, white);
        table->blitToScreen(BoardBuffer, QRect(0, 0, w + 10, h), QPoint(0, 0));
        {
            QPainter restore(&BoardBuffer);
            restore.drawPixmap(0, 0, picBuffer);
        }
        clock.spin(int64_t(delay) * 1000);
    }
}

void MainWindow::bannerPass(int delay)
{
    for (int i = -60; i <= 0; ++i) {
        paintBannerStrip(i);
        clock.spin(int64_t(delay) * 1000);
    }
}

void MainWindow::InitAnimDelay()
{
    if (BoardBuffer.isNull())
        BoardBuffer = table->image();
    AnimationCalibration calibration(clock);
    prefs.prfAnimationDelay = calibration.delayFor({150, 0.2, [this](int delay) { animationPass(delay); }});
    const int delay = prefs.prfAnimationDelay;
    prefs.prfScrollVal = static_cast<int16_t>(delay <= 500 ? 1000 - delay : delay <= 750 ? 400 : 250);
    prefs.prfBannerDelay = calibration.delayFor({61, 0.3, [this](int delay) { bannerPass(delay); }});
    table->refresh();
}
