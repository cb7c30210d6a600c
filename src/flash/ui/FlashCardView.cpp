#include "FlashCardView.h"
#include "CardLibrary.h"
#include <QPainter>

namespace {
constexpr int margin = 16;
constexpr int captionWidth = 90;
constexpr int fan = 36; // each card of the hand this far right of the one before
}

FlashCardView::FlashCardView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picFlashCards"));
    cdtInit(cardWidth, cardHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FlashCardView::setCard(const FlashCard &card)
{
    shown = card;
    update();
}

QSize FlashCardView::sizeHint() const
{
    return {2 * margin + captionWidth + cardWidth + 3 * fan + margin, 3 * margin + 2 * cardHeight};
}

void FlashCardView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(22, 96, 52));
    painter.setPen(QColor(243, 227, 162));
    QFont caption(QStringLiteral("DejaVu Sans"));
    caption.setPixelSize(15);
    caption.setBold(true);
    painter.setFont(caption);
    const int dealerTop = margin;
    const int playerTop = 2 * margin + cardHeight;
    painter.drawText(QRect(margin, dealerTop, captionWidth, cardHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Dealer"));
    painter.drawText(QRect(margin, playerTop, captionWidth, cardHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("You"));
    const int left = margin + captionWidth;
    if (!shown.upCard.isEmpty())
        cdtDraw(painter, left, dealerTop, shown.upCard.cardIndex, 0, qRgb(255, 255, 255));
    for (int i = 0; i < shown.hand.count(); ++i)
        cdtDraw(painter, left + i * fan, playerTop, shown.hand[i].cardIndex, 0, qRgb(255, 255, 255));
    painter.end();
    Q_EMIT painted();
}
