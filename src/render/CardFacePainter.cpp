#include "CardFacePainter.h"
#include "CardShape.h"
#include "SuitShape.h"
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <array>
#include <cmath>
#include <vector>

namespace {
constexpr int jack = 11;
constexpr int queen = 12;
constexpr int king = 13;

const QColor outlineColour(70, 70, 76);
const QColor skin(246, 214, 182);
const QColor skinLine(110, 70, 45);
const QColor gold(232, 182, 40);
const QColor goldLine(140, 100, 10);

QString rankText(int rank)
{
    static const std::array<const char *, 13> texts{"A", "2", "3", "4", "5", "6", "7",
                                                    "8", "9", "10", "J", "Q", "K"};
    return QString::fromLatin1(texts[static_cast<size_t>(rank - 1)]);
}

QFont rankFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

// Pip positions for 2..10 as (column -1/0/1, row 0..1), the classic layouts.
const std::vector<QPointF> &pipLayout(int rank)
{
    static const std::array<std::vector<QPointF>, 9> layouts{{
        {{0, 0}, {0, 1}},
        {{0, 0}, {0, 0.5}, {0, 1}},
        {{-1, 0}, {1, 0}, {-1, 1}, {1, 1}},
        {{-1, 0}, {1, 0}, {0, 0.5}, {-1, 1}, {1, 1}},
        {{-1, 0}, {1, 0}, {-1, 0.5}, {1, 0.5}, {-1, 1}, {1, 1}},
        {{-1, 0}, {1, 0}, {0, 0.25}, {-1, 0.5}, {1, 0.5}, {-1, 1}, {1, 1}},
        {{-1, 0}, {1, 0}, {0, 0.25}, {-1, 0.5}, {1, 0.5}, {0, 0.75}, {-1, 1}, {1, 1}},
        {{-1, 0}, {1, 0}, {-1, 1.0 / 3}, {1, 1.0 / 3}, {0, 0.5}, {-1, 2.0 / 3}, {1, 2.0 / 3}, {-1, 1}, {1, 1}},
        {{-1, 0}, {1, 0}, {0, 1.0 / 6}, {-1, 1.0 / 3}, {1, 1.0 / 3}, {-1, 2.0 / 3}, {1, 2.0 / 3},
         {0, 5.0 / 6}, {-1, 1}, {1, 1}},
    }};
    return layouts[static_cast<size_t>(rank - 2)];
}
}

CardFacePainter::CardFacePainter(QPainter &painter, const QColor &paper)
    : painter(painter), paper(paper)
{
}

void CardFacePainter::paint(int rank, int suit)
{
    const QPainterPath outline = CardShape::outline();
    painter.fillPath(outline, paper);
    if (rank == 1 && suit == SuitShape::spades)
        paintAceOfSpades();
    else if (rank == 1)
        paintAce(suit);
    else if (rank >= jack)
        paintCourt(rank, suit);
    else
        paintPips(rank, suit);
    paintIndex(rank, suit);
    painter.strokePath(outline, QPen(outlineColour, 1));
}

void CardFacePainter::paintHighlight()
{
    const QPainterPath outline = CardShape::outline();
    painter.save();
    painter.setClipPath(outline);
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    painter.fillRect(QRectF(0, 0, CardShape::width, CardShape::height), QColor(255, 196, 120));
    painter.restore();
    painter.strokePath(CardShape::inset(1.5), QPen(QColor(205, 30, 0), 3));
}

void CardFacePainter::paintIndex(int rank, int suit)
{
    const QString text = rankText(rank);
    painter.save();
    painter.setFont(rankFont(13));
    painter.setPen(SuitShape::colour(suit));
    for (int corner = 0; corner < 2; ++corner) {
        painter.save();
        painter.translate(7.5, 2);
        // "10" is squeezed so both digits fit the narrow corner.
        if (text.size() > 1)
            painter.scale(0.72, 1);
        painter.drawText(QRectF(-10, 0, 20, 15), Qt::AlignHCenter | Qt::AlignTop, text);
        painter.restore();
        SuitShape::draw(painter, suit, QPointF(7.5, 22), 9);
        // The second index is the first turned about the card's centre.
        painter.translate(CardShape::width, CardShape::height);
        painter.rotate(180);
    }
    painter.restore();
}

void CardFacePainter::paintPips(int rank, int suit)
{
    const qreal centreX = CardShape::width / 2.0;
    const qreal columnStep = 14;
    const qreal top = 17;
    const qreal span = 62;
    for (const QPointF &pip : pipLayout(rank)) {
        const QPointF centre(centreX + pip.x() * columnStep, top + pip.y() * span);
        SuitShape::draw(painter, suit, centre, 13, pip.y() > 0.5);
    }
}

void CardFacePainter::paintAce(int suit)
{
    SuitShape::draw(painter, suit, QPointF(CardShape::width / 2.0, CardShape::height / 2.0), 28);
}

void CardFacePainter::paintAceOfSpades()
{
    const QPointF centre(CardShape::width / 2.0, CardShape::height / 2.0);
    const QColor ink = SuitShape::colour(SuitShape::spades);
    painter.save();
    // A double oval frame with a ring of small beads around the big spade.
    painter.setPen(QPen(ink, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 22.5, 29);
    painter.setPen(QPen(ink, 0.6));
    painter.drawEllipse(centre, 20.5, 27);
    for (int bead = 0; bead < 24; ++bead) {
        const qreal angle = bead * 15 * M_PI / 180;
        painter.setBrush(bead % 2 ? QColor(204, 18, 36) : ink);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(centre + QPointF(24.5 * std::cos(angle), 31 * std::sin(angle)), 0.9, 0.9);
    }
    painter.restore();

    SuitShape::draw(painter, SuitShape::spades, centre, 34);

    // Inner tracery: an outlined spade in paper colour and a jewel.
    painter.save();
    painter.translate(centre);
    painter.scale(23, 23);
    painter.translate(0, -0.08);
    painter.strokePath(SuitShape::path(SuitShape::spades), QPen(paper, 1.2 / 23));
    painter.restore();
    QPainterPath jewel;
    jewel.moveTo(centre + QPointF(0, -5));
    jewel.lineTo(centre + QPointF(3.5, 0));
    jewel.lineTo(centre + QPointF(0, 5));
    jewel.lineTo(centre + QPointF(-3.5, 0));
    jewel.closeSubpath();
    painter.fillPath(jewel, QColor(204, 18, 36));
    painter.strokePath(jewel, QPen(paper, 0.8));
}

void CardFacePainter::paintCourt(int rank, int suit)
{
    const QRectF panel(15.5, 10.5, 40, 75);
    static const std::array<QColor, 3> panelFills{QColor(222, 234, 250), QColor(250, 226, 233),
                                                  QColor(252, 240, 200)};
    painter.fillRect(panel, panelFills[static_cast<size_t>(rank - jack)]);
    paintCourtHalf(rank, suit, panel);
    // The lower half is the upper one turned, as on a double-headed card.
    painter.save();
    painter.translate(panel.center());
    painter.rotate(180);
    painter.translate(-panel.center());
    paintCourtHalf(rank, suit, panel);
    painter.restore();

    const QColor ink = SuitShape::colour(suit);
    painter.setPen(QPen(ink, 0.8));
    painter.drawLine(QPointF(panel.left(), panel.center().y()), QPointF(panel.right(), panel.center().y()));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, 1.2));
    painter.drawRect(panel);
    painter.setPen(QPen(ink, 0.5));
    painter.drawRect(panel.adjusted(2, 2, -2, -2));
}

void CardFacePainter::paintCourtHalf(int rank, int suit, const QRectF &panel)
{
    painter.save();
    painter.setClipRect(QRectF(panel.left(), panel.top(), panel.width(), panel.height() / 2));
    painter.translate(panel.topLeft());
    paintFigure(rank);
    paintCrown(rank);
    painter.setFont(rankFont(12));
    painter.setPen(SuitShape::colour(suit));
    painter.drawText(QRectF(3, 3, 10, 14), Qt::AlignCenter, rankText(rank));
    SuitShape::draw(painter, suit, QPointF(32.5, 9), 8);
    painter.restore();
}

void CardFacePainter::paintFigure(int rank)
{
    static const std::array<QColor, 3> robes{QColor(30, 115, 70), QColor(40, 70, 165), QColor(150, 28, 40)};
    const QColor robe = robes[static_cast<size_t>(rank - jack)];
    const qreal bottom = 37.5;

    // What each figure holds: the jack a staff, the queen a rose, the king a sword.
    if (rank == jack) {
        painter.setPen(QPen(QColor(120, 80, 40), 1.2));
        painter.drawLine(QPointF(7, 14), QPointF(7, bottom));
        QPainterPath blade;
        blade.moveTo(7, 8);
        blade.lineTo(9.5, 14);
        blade.lineTo(4.5, 14);
        blade.closeSubpath();
        painter.fillPath(blade, QColor(170, 175, 185));
    } else if (rank == queen) {
        painter.setPen(QPen(QColor(40, 120, 50), 1));
        painter.drawLine(QPointF(8, 22), QPointF(8, bottom));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(210, 30, 60));
        painter.drawEllipse(QPointF(8, 21), 2.6, 2.6);
    } else {
        painter.setPen(QPen(QColor(150, 155, 165), 1.6));
        painter.drawLine(QPointF(33, 17), QPointF(33, bottom));
        painter.setPen(QPen(gold, 1.4));
        painter.drawLine(QPointF(30, 21), QPointF(36, 21));
    }

    QPainterPath shoulders;
    shoulders.moveTo(3, bottom);
    shoulders.cubicTo(4, 30, 10, 28, 14, 27.5);
    shoulders.lineTo(26, 27.5);
    shoulders.cubicTo(30, 28, 36, 30, 37, bottom);
    shoulders.closeSubpath();
    painter.fillPath(shoulders, robe);
    painter.setPen(QPen(gold, 1.5));
    painter.drawPolyline(QPolygonF{QPointF(14, 27.5), QPointF(20, 35), QPointF(26, 27.5)});

    painter.setPen(Qt::NoPen);
    painter.setBrush(skin);
    painter.drawRect(QRectF(18, 23, 4, 5));
    if (rank == queen) {
        painter.setBrush(QColor(110, 60, 30));
        painter.drawEllipse(QPointF(20, 20.5), 8, 8.5);
    }
    painter.setPen(QPen(skinLine, 0.6));
    painter.setBrush(skin);
    painter.drawEllipse(QPointF(20, 19.5), 5.5, 6.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 30, 30));
    painter.drawEllipse(QPointF(18, 18.5), 0.75, 0.75);
    painter.drawEllipse(QPointF(22, 18.5), 0.75, 0.75);
    painter.setPen(QPen(QColor(170, 60, 60), 0.7));
    painter.drawLine(QPointF(19, 22.8), QPointF(21, 22.8));

    if (rank == king) {
        QPainterPath beard;
        beard.moveTo(14.6, 19.5);
        beard.quadTo(15, 27, 20, 29.5);
        beard.quadTo(25, 27, 25.4, 19.5);
        beard.quadTo(23, 24, 20, 23.8);
        beard.quadTo(17, 24, 14.6, 19.5);
        painter.fillPath(beard, QColor(236, 236, 236));
        painter.strokePath(beard, QPen(QColor(150, 150, 150), 0.5));
    } else if (rank == jack) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(200, 140, 50));
        painter.drawEllipse(QPointF(14.6, 20), 1.8, 3.2);
        painter.drawEllipse(QPointF(25.4, 20), 1.8, 3.2);
    }
}

void CardFacePainter::paintCrown(int rank)
{
    QPainterPath crown;
    if (rank == king) {
        crown.moveTo(13, 13.5);
        crown.lineTo(13, 7);
        crown.lineTo(15.5, 10);
        crown.lineTo(17, 5.5);
        crown.lineTo(20, 9);
        crown.lineTo(23, 5.5);
        crown.lineTo(24.5, 10);
        crown.lineTo(27, 7);
        crown.lineTo(27, 13.5);
        crown.closeSubpath();
        painter.fillPath(crown, gold);
        painter.strokePath(crown, QPen(goldLine, 0.5));
        painter.setPen(QPen(gold, 1.2));
        painter.drawLine(QPointF(20, 9), QPointF(20, 2.5));
        painter.drawLine(QPointF(18.3, 4.3), QPointF(21.7, 4.3));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(200, 20, 40));
        for (const QPointF &tip : {QPointF(13, 7), QPointF(17, 5.5), QPointF(23, 5.5), QPointF(27, 7)})
            painter.drawEllipse(tip, 0.9, 0.9);
    } else if (rank == queen) {
        crown.moveTo(14, 13.5);
        crown.lineTo(14, 9);
        crown.quadTo(15.5, 5.5, 17, 9);
        crown.quadTo(20, 3.5, 23, 9);
        crown.quadTo(24.5, 5.5, 26, 9);
        crown.lineTo(26, 13.5);
        crown.closeSubpath();
        painter.fillPath(crown, QColor(205, 205, 215));
        painter.strokePath(crown, QPen(QColor(110, 110, 125), 0.5));
        painter.setPen(QPen(QColor(150, 150, 160), 0.4));
        painter.setBrush(Qt::white);
        for (const QPointF &pearl : {QPointF(15.5, 6.6), QPointF(20, 5), QPointF(24.5, 6.6)})
            painter.drawEllipse(pearl, 1, 1);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 90, 200));
        painter.drawEllipse(QPointF(20, 11.3), 1.2, 1.2);
    } else {
        // The jack wears a feathered cap rather than a crown.
        QPainterPath feather;
        feather.moveTo(24, 10);
        feather.cubicTo(30, 7, 33, 3, 31, 1);
        feather.cubicTo(29, 4.5, 26.5, 7, 24, 10);
        painter.fillPath(feather, Qt::white);
        painter.strokePath(feather, QPen(QColor(120, 120, 120), 0.4));
        crown.moveTo(13, 13);
        crown.quadTo(20, 2.5, 27, 13);
        crown.closeSubpath();
        painter.fillPath(crown, QColor(185, 40, 40));
        painter.setPen(QPen(gold, 1.4));
        painter.drawLine(QPointF(13.3, 12.4), QPointF(26.7, 12.4));
    }
}
