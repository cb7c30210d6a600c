#include "SplashWindow.h"
#include "AboutBox.h"
#include "ProgramFolder.h"
#include "SponsorPages.h"
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

SplashWindow::SplashWindow(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture(ProgramFolder::file(QStringLiteral("pics"), QStringLiteral("splash.png")))
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Vantrel"));
    setFixedSize(side, side);
    setCursor(Qt::PointingHandCursor);
    Form_Load();
}

void SplashWindow::Form_Load()
{
    const QScreen *where = screen();
    if (!where)
        return; // no screen to centre on: leave it where the platform puts it
    const QRect screenArea = where->geometry();
    const double x = screenArea.width() / 2.0 - width() / 2.0;
    const int y = qRound(screenArea.height() / 3.5);
    move(screenArea.left() + qRound(x), screenArea.top() + y);
}

void SplashWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!picture.isNull()) {
        painter.drawPixmap(rect(), picture);
        return;
    }
    // Without its picture the splash still says what is starting.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(0x0B, 0x5D, 0x2A));
    painter.setPen(QPen(QColor(0xD4, 0xAF, 0x37), 3));
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(22);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(rect().adjusted(0, 0, 0, -20), Qt::AlignCenter, QStringLiteral("Vantrel"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(11);
    painter.setFont(subtitle);
    painter.drawText(rect().adjusted(0, 40, 0, 0), Qt::AlignCenter, QStringLiteral("Blackjack trainer"));
}

void SplashWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    AboutBox::RunShellExecute(QStringLiteral("open"), QString(SponsorPages::page1.address), QStringLiteral("0"),
                              QStringLiteral("0"), 1);
}
