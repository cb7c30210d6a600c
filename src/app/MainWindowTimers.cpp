// The status line with its fade and blink, the two timers, and the banner
// strip.
#include "AboutBox.h"
#include "MainWindow.h"
#include "PictureBox.h"
#include "SponsorPages.h"
#include "TableLayout.h"
#include <QLabel>
#include <QPainter>

void MainWindow::setStatus(const QString &text)
{
    lblstatus->setText(text);
}

void MainWindow::setStatusColor(const QColor &color)
{
    QPalette palette = lblstatus->palette();
    palette.setColor(QPalette::WindowText, color);
    lblstatus->setPalette(palette);
}

void MainWindow::showmessage(const QString &text)
{
    Busy busy(*this);
    setStatusColor(Qt::black);
    setStatus(text);
    int red = 0, green = 0, blue = 0;
    for (int step = 0; step < 25; ++step) {
        red += 10;
        green += 7;
        blue += 8;
        setStatusColor(QColor(red, green, blue));
        shortDelay(10);
    }
}

void MainWindow::Timer1_Timer()
{
    // A card in flight processes no timer ticks, so no banner moves under it.
    untilClosed([this] {
        if (statusText().contains(QLatin1String("Welcome")))
            showmessage(QStringLiteral("Click the deck to start a new game"));
        if (roundOver)
            rotatebanner();
    });
}

void MainWindow::Timer2_Timer()
{
    static const QStringList outcomes{
        QStringLiteral("Push..(a tie)"), QStringLiteral("You win"),
        QStringLiteral("Dealer wins"), QStringLiteral("Blackjack"),
        QStringLiteral("Dealer busts, you win"), QStringLiteral("You bust..dealer wins"),
        QStringLiteral("Click the Deck to play again")};
    static const QStringList neverBlink{QStringLiteral("Double.."), QStringLiteral("Split.."),
                                        QStringLiteral("Stand.."), QStringLiteral("Hit.."),
                                        QStringLiteral("Welcome to Vantrel...")};
    if (roundOver) {
        if (outcomes.contains(statusText())) {
            ++outcomeTicks;
            if (outcomeTicks >= 3)
                setStatus(QStringLiteral("Click the Deck to play again"));
        }
        if (outcomeTicks > 6)
            setStatus(QStringLiteral("Click the banners for real money excitement !"));
    }
    const QString text = statusText();
    if (text == lastStatus && !neverBlink.contains(text)) {
        savedStatusColor = lblstatus->palette().color(QPalette::WindowText);
        setStatusColor(Qt::black);
        untilClosed([this] {
            shortDelay(500);
            setStatusColor(savedStatusColor);
        });
    } else {
        lastStatus = text;
    }
}

void MainWindow::paintBannerStrip(int bannerTop)
{
    QPixmap &strip = picStatusBar->image();
    QPainter painter(&strip);
    painter.fillRect(strip.rect(), QColor(24, 14, 8));
    const QRect banner((strip.width() - TableLayout::bannerWidth) / 2, (strip.height() - TableLayout::bannerHeight) / 2,
                       TableLayout::bannerWidth, TableLayout::bannerHeight);
    painter.setPen(QColor(201, 162, 74));
    painter.drawRect(banner.adjusted(-1, -1, 0, 0));
    painter.setClipRect(banner);
    painter.drawPixmap(banner.left(), banner.top() + bannerTop, picBanner3);
    painter.end();
    picStatusBar->repaint();
}

void MainWindow::rotatebanner()
{
    Timer1.setInterval(10000);
    if (bannerTick >= 1 && bannerTick <= 3) {
        ++bannerTick;
        return;
    }
    bannerTick = 1;

    const std::optional<BannerCycle::Banner> next = banners.next(picCtr);
    if (!next)
        return;
    picBanner2 = picBanner;
    picBanner = next->picture;
    picBanner3 = QPixmap(TableLayout::bannerWidth, 2 * TableLayout::bannerHeight);
    {
        QPainter painter(&picBanner3);
        painter.drawPixmap(0, 0, picBanner);
        painter.drawPixmap(0, TableLayout::bannerHeight, picBanner2);
    }
    picCtr = next->shown;
    for (int y = -TableLayout::bannerHeight; y <= 0; ++y) {
        paintBannerStrip(y);
        shortDelay(20);
    }
    paintBannerStrip(0);
    picBanner2 = picBanner;
}

void MainWindow::picStatusBar_Click()
{
    switch (picCtr) {
    case 6: case 10: case 11: case 12: case 13: case 14: case 15:
        openSponsorPage(2);
        break;
    case 2: case 4:
        openSponsorPage(3);
        break;
    default:
        openSponsorPage(1);
    }
}
