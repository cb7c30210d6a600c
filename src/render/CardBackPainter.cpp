#include "CardBackPainter.h"
#include "CardShape.h"
#include "SuitShape.h"
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {
enum Design { Hatch = 53, Plaid, Weave, Robot, Roses, IvyBlack, IvyBlue, FishCyan, FishBlue, Shell, Castle, Beach, Sleeve };

const QColor outlineColour(70, 70, 76);
const QRectF panelRect(4, 4, CardShape::width - 8, CardShape::height - 8);

QLinearGradient verticalGradient(qreal top, qreal bottom, const QColor &from, const QColor &to)
{
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

// A three-lobed ivy leaf pointing up, about `size` pixels tall.
QPainterPath ivyLeaf(qreal size)
{
    QPainterPath leaf;
    leaf.moveTo(0, 0.5);
    leaf.cubicTo(-0.3, 0.45, -0.55, 0.25, -0.5, 0.05);
    leaf.cubicTo(-0.35, 0.05, -0.3, -0.05, -0.25, -0.15);
    leaf.cubicTo(-0.2, -0.3, -0.1, -0.45, 0, -0.5);
    leaf.cubicTo(0.1, -0.45, 0.2, -0.3, 0.25, -0.15);
    leaf.cubicTo(0.3, -0.05, 0.35, 0.05, 0.5, 0.05);
    leaf.cubicTo(0.55, 0.25, 0.3, 0.45, 0, 0.5);
    leaf.closeSubpath();
    return QTransform::fromScale(size, size).map(leaf);
}

void drawFish(QPainter &painter, const QPointF &at, qreal length, bool facingLeft, const QColor &colour)
{
    painter.save();
    painter.translate(at);
    if (facingLeft)
        painter.scale(-1, 1);
    painter.scale(length / 20, length / 20);
    QPainterPath body;
    body.moveTo(10, 0);
    body.cubicTo(6, -6, -4, -6, -7, 0);
    body.cubicTo(-4, 6, 6, 6, 10, 0);
    QPainterPath tail;
    tail.moveTo(-6, 0);
    tail.lineTo(-11, -5);
    tail.lineTo(-10, 0);
    tail.lineTo(-11, 5);
    tail.closeSubpath();
    painter.fillPath(tail, colour.darker(125));
    painter.fillPath(body, colour);
    painter.strokePath(body, QPen(colour.darker(170), 0.6));
    painter.setPen(QPen(colour.darker(150), 0.7));
    painter.drawArc(QRectF(-1, -4, 6, 8), 100 * 16, 160 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(5.5, -1.2), 1.5, 1.5);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(5.9, -1.2), 0.8, 0.8);
    painter.restore();
}

void drawRose(QPainter &painter, const QPointF &at)
{
    painter.save();
    painter.translate(at);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 140, 60));
    painter.drawEllipse(QPointF(-6, 4), 3.5, 2);
    painter.drawEllipse(QPointF(6, 4), 3.5, 2);
    painter.setBrush(QColor(214, 36, 60));
    painter.drawEllipse(QPointF(0, 0), 5.5, 5.5);
    // Petals as a tightening spiral of arcs.
    painter.setPen(QPen(QColor(130, 10, 30), 0.7));
    painter.setBrush(Qt::NoBrush);
    for (qreal radius = 4.5; radius > 1; radius -= 1.3)
        painter.drawArc(QRectF(-radius, -radius + 0.4, 2 * radius, 2 * radius), 30 * 16, 250 * 16);
    painter.restore();
}
}

CardBackPainter::CardBackPainter(QPainter &painter, const QColor &paper)
    : painter(painter), paper(paper)
{
}

void CardBackPainter::paint(int design)
{
    if (design == Hatch) {
        paintHatch();
        return;
    }
    const QPainterPath outline = CardShape::outline();
    painter.fillPath(outline, paper);
    painter.save();
    painter.setClipPath(CardShape::inset(4));
    paintPanel(design);
    painter.restore();
    painter.strokePath(CardShape::inset(4), QPen(QColor(0, 0, 0, 90), 0.8));
    painter.strokePath(outline, QPen(outlineColour, 1));
}

// The hatch also serves as a see-through overlay on a losing hand, with pure
// white as the transparent colour: everything is drawn without anti-aliasing
// so each pixel is either exactly paper, a line or outside the card.
void CardBackPainter::paintHatch()
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QPainterPath outline = CardShape::outline();
    painter.fillPath(outline, paper);
    painter.setClipPath(CardShape::inset(3));
    const int spacing = 8;
    const int reach = CardShape::width + CardShape::height;
    painter.setPen(QPen(QColor(30, 60, 200), 1));
    for (int start = -CardShape::height; start < reach; start += spacing)
        painter.drawLine(start, 0, start + CardShape::height, CardShape::height);
    painter.setPen(QPen(QColor(210, 30, 40), 1));
    for (int start = spacing / 2; start < reach; start += spacing)
        painter.drawLine(start, 0, start - CardShape::height, CardShape::height);
    painter.setClipping(false);
    painter.strokePath(outline, QPen(outlineColour, 1));
    painter.restore();
}

void CardBackPainter::paintPanel(int design)
{
    switch (design) {
    case Plaid: paintPlaid(); break;
    case Weave: paintWeave(); break;
    case Robot: paintRobot(); break;
    case Roses: paintRoses(); break;
    case IvyBlack: paintIvy(QColor(18, 18, 20), QColor(80, 160, 70)); break;
    case IvyBlue: paintIvy(QColor(25, 55, 150), QColor(150, 215, 130)); break;
    case FishCyan: paintFish(QColor(20, 150, 185), QColor(110, 220, 235), QColor(250, 140, 40)); break;
    case FishBlue: paintFish(QColor(10, 25, 90), QColor(35, 75, 170), QColor(250, 215, 60)); break;
    case Shell: paintShell(); break;
    case Castle: paintCastle(); break;
    case Beach: paintBeach(); break;
    case Sleeve: paintSleeve(); break;
    default:
        // A plain back for any number that names no design.
        painter.fillRect(panelRect, QColor(95, 100, 115));
        painter.setPen(QPen(QColor(255, 255, 255, 110), 1));
        painter.drawRect(panelRect.adjusted(3, 3, -3, -3));
        break;
    }
}

void CardBackPainter::paintPlaid()
{
    painter.fillRect(panelRect, QColor(20, 95, 55));
    for (qreal offset = 0; offset < CardShape::height; offset += 16) {
        painter.fillRect(QRectF(offset, 0, 8, CardShape::height), QColor(15, 25, 90, 140));
        painter.fillRect(QRectF(0, offset, CardShape::width, 8), QColor(15, 25, 90, 140));
    }
    for (qreal offset = 12; offset < CardShape::height; offset += 16) {
        painter.fillRect(QRectF(offset - 0.75, 0, 1.5, CardShape::height), QColor(210, 35, 35, 220));
        painter.fillRect(QRectF(0, offset - 0.75, CardShape::width, 1.5), QColor(210, 35, 35, 220));
        painter.fillRect(QRectF(offset - 8.4, 0, 0.8, CardShape::height), QColor(235, 205, 60, 200));
        painter.fillRect(QRectF(0, offset - 8.4, CardShape::width, 0.8), QColor(235, 205, 60, 200));
    }
}

void CardBackPainter::paintWeave()
{
    painter.fillRect(panelRect, QColor(85, 50, 25));
    const qreal cell = 8;
    const QColor strand(205, 160, 100);
    const QColor groove(130, 85, 45);
    for (int row = 0; row * cell < CardShape::height; ++row) {
        for (int column = 0; column * cell < CardShape::width; ++column) {
            const QRectF box(column * cell + 0.5, row * cell + 0.5, cell - 1, cell - 1);
            const bool across = (row + column) % 2 == 0;
            QLinearGradient shade(box.topLeft(), across ? box.bottomLeft() : box.topRight());
            shade.setColorAt(0, strand.lighter(115));
            shade.setColorAt(1, strand.darker(120));
            painter.fillRect(box, shade);
            painter.setPen(QPen(groove, 0.6));
            for (qreal step = cell / 3; step < cell - 1; step += cell / 3) {
                if (across)
                    painter.drawLine(QPointF(box.left(), box.top() + step), QPointF(box.right(), box.top() + step));
                else
                    painter.drawLine(QPointF(box.left() + step, box.top()), QPointF(box.left() + step, box.bottom()));
            }
        }
    }
}

void CardBackPainter::paintRobot()
{
    painter.fillRect(panelRect, verticalGradient(4, 92, QColor(70, 105, 150), QColor(35, 55, 90)));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 40));
    for (int y = 8; y < 92; y += 8)
        for (int x = 8; x < 67; x += 8)
            painter.drawEllipse(QPointF(x, y), 0.8, 0.8);

    const QColor metal(190, 196, 208);
    const QPen rim(QColor(40, 45, 60), 0.8);
    painter.setPen(QPen(QColor(40, 45, 60), 1.2));
    painter.drawLine(QPointF(35.5, 19), QPointF(35.5, 12));
    painter.setPen(rim);
    painter.setBrush(QColor(230, 40, 40));
    painter.drawEllipse(QPointF(35.5, 11), 2, 2);
    painter.setBrush(metal);
    painter.drawRoundedRect(QRectF(25, 19, 21, 16), 3, 3);            // head
    painter.drawRect(QRectF(23, 32 + 6, 25, 27));                      // body
    painter.drawRoundedRect(QRectF(15, 40, 7, 20), 2, 2);              // arms
    painter.drawRoundedRect(QRectF(49, 40, 7, 20), 2, 2);
    painter.drawRect(QRectF(27, 65, 6, 13));                           // legs
    painter.drawRect(QRectF(38, 65, 6, 13));
    painter.drawRoundedRect(QRectF(24, 77, 11, 4), 1.5, 1.5);          // feet
    painter.drawRoundedRect(QRectF(36, 77, 11, 4), 1.5, 1.5);
    painter.drawRect(QRectF(32, 35, 7, 3));                            // neck
    painter.setBrush(QColor(255, 220, 60));
    painter.drawEllipse(QPointF(31, 26), 2.6, 2.6);                     // eyes
    painter.drawEllipse(QPointF(40, 26), 2.6, 2.6);
    painter.setBrush(QColor(40, 45, 60));
    painter.drawRect(QRectF(30, 31, 11, 2));                           // mouth grille
    painter.setBrush(QColor(60, 70, 90));
    painter.drawRoundedRect(QRectF(27, 42, 17, 10), 1.5, 1.5);         // control panel
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 60, 60));
    painter.drawEllipse(QPointF(31, 47), 1.8, 1.8);
    painter.setBrush(QColor(80, 220, 100));
    painter.drawEllipse(QPointF(35.5, 47), 1.8, 1.8);
    painter.setBrush(QColor(255, 210, 60));
    painter.drawEllipse(QPointF(40, 47), 1.8, 1.8);
    painter.setPen(QPen(QColor(40, 45, 60), 1));
    for (qreal y = 55; y < 63; y += 2.5)
        painter.drawLine(QPointF(28, y), QPointF(43, y));
}

void CardBackPainter::paintRoses()
{
    painter.fillRect(panelRect, QColor(28, 72, 42));
    painter.setPen(QPen(QColor(60, 110, 60), 0.8));
    for (qreal y = 8; y < 96; y += 16)
        painter.drawLine(QPointF(0, y), QPointF(CardShape::width, y + 16));
    for (int row = 0; row < 6; ++row)
        for (int column = 0; column < 4; ++column)
            drawRose(painter, QPointF(10 + column * 17 + (row % 2) * 8.5, 11 + row * 15));
}

void CardBackPainter::paintIvy(const QColor &ground, const QColor &leaf)
{
    painter.fillRect(panelRect, ground);
    const QPainterPath shape = ivyLeaf(9);
    for (int vine = 0; vine < 3; ++vine) {
        const qreal x = 15 + vine * 20.5;
        QPainterPath stem;
        stem.moveTo(x, 0);
        for (qreal y = 0; y <= CardShape::height; y += 2)
            stem.lineTo(x + 3 * std::sin(y / 8 + vine), y);
        painter.strokePath(stem, QPen(QColor(120, 90, 50), 1));
        for (int step = 0; step < 9; ++step) {
            const qreal y = 6 + step * 10.5;
            const int side = (step + vine) % 2 ? 1 : -1;
            painter.save();
            painter.translate(x + 3 * std::sin(y / 8 + vine) + side * 4.5, y);
            painter.rotate(side * 55);
            painter.fillPath(shape, step % 3 ? leaf : leaf.darker(125));
            painter.setPen(QPen(leaf.lighter(140), 0.5));
            painter.drawLine(QPointF(0, 4), QPointF(0, -3));
            painter.restore();
        }
    }
}

void CardBackPainter::paintFish(const QColor &deep, const QColor &shallow, const QColor &fish)
{
    painter.fillRect(panelRect, verticalGradient(4, 92, shallow, deep));
    painter.setPen(QPen(QColor(255, 255, 255, 150), 0.6));
    painter.setBrush(Qt::NoBrush);
    for (const QPointF &bubble : {QPointF(20, 10), QPointF(23, 16), QPointF(50, 40), QPointF(52, 34),
                                  QPointF(18, 60), QPointF(54, 76)})
        painter.drawEllipse(bubble, 1.5, 1.5);
    QPainterPath weed;
    for (const qreal x : {12.0, 30.0, 58.0}) {
        weed.moveTo(x, 92);
        weed.cubicTo(x - 4, 84, x + 4, 80, x, 72);
    }
    painter.strokePath(weed, QPen(QColor(40, 150, 70), 2));
    drawFish(painter, QPointF(40, 18), 22, false, fish);
    drawFish(painter, QPointF(30, 40), 18, true, fish.lighter(115));
    drawFish(painter, QPointF(44, 60), 22, false, fish);
    drawFish(painter, QPointF(22, 78), 14, true, fish.lighter(115));
}

void CardBackPainter::paintShell()
{
    painter.fillRect(panelRect, verticalGradient(4, 92, QColor(120, 200, 210), QColor(235, 215, 165)));
    // A scallop: a fan of ribs from the hinge, with a wavy outer edge.
    const QPointF hinge(35.5, 64);
    const int ribs = 9;
    const qreal radius = 27;
    QPainterPath fan;
    fan.moveTo(hinge);
    for (int rib = 0; rib <= ribs; ++rib) {
        const qreal angle = (200 + rib * 140.0 / ribs) * M_PI / 180;
        const QPointF tip = hinge + QPointF(radius * std::cos(angle), radius * std::sin(angle));
        if (rib == 0) {
            fan.lineTo(tip);
            continue;
        }
        const qreal middle = angle - 70.0 / ribs * M_PI / 180;
        fan.quadTo(hinge + QPointF((radius + 4) * std::cos(middle), (radius + 4) * std::sin(middle)), tip);
    }
    fan.closeSubpath();
    QRadialGradient glow(hinge, radius);
    glow.setColorAt(0, QColor(250, 205, 175));
    glow.setColorAt(1, QColor(235, 130, 95));
    painter.fillPath(fan, glow);
    painter.setPen(QPen(QColor(185, 85, 60), 0.8));
    for (int rib = 0; rib <= ribs; ++rib) {
        const qreal angle = (200 + rib * 140.0 / ribs) * M_PI / 180;
        painter.drawLine(hinge, hinge + QPointF(radius * std::cos(angle), radius * std::sin(angle)));
    }
    painter.strokePath(fan, QPen(QColor(160, 70, 50), 1));
    QPainterPath ears;
    ears.moveTo(hinge + QPointF(-8, 8));
    ears.lineTo(hinge + QPointF(-4, -1));
    ears.lineTo(hinge + QPointF(4, -1));
    ears.lineTo(hinge + QPointF(8, 8));
    ears.closeSubpath();
    painter.fillPath(ears, QColor(225, 125, 90));
    painter.strokePath(ears, QPen(QColor(160, 70, 50), 0.8));
}

void CardBackPainter::paintCastle()
{
    painter.fillRect(panelRect, verticalGradient(4, 80, QColor(90, 155, 225), QColor(200, 225, 250)));
    painter.fillRect(QRectF(0, 78, CardShape::width, 20), QColor(70, 150, 60));
    const QColor stone(175, 175, 185);
    const QPen mortar(QColor(90, 90, 105), 0.7);
    painter.setPen(mortar);
    painter.setBrush(stone);
    QPainterPath walls;
    walls.addRect(QRectF(22, 42, 27, 38));            // keep
    walls.addRect(QRectF(11, 34, 12, 46));            // towers
    walls.addRect(QRectF(48, 34, 12, 46));
    for (int merlon = 0; merlon < 5; ++merlon)
        walls.addRect(QRectF(22 + merlon * 5.75, 38, 3.5, 4.5));
    painter.drawPath(walls.simplified());
    painter.setBrush(QColor(190, 45, 45));
    for (const qreal left : {9.0, 46.0}) {
        painter.drawPolygon(QPolygonF{QPointF(left, 34), QPointF(left + 8, 18), QPointF(left + 16, 34)});
        painter.setPen(QPen(QColor(60, 60, 60), 0.7));
        painter.drawLine(QPointF(left + 8, 18), QPointF(left + 8, 12));
        painter.setPen(mortar);
    }
    painter.setBrush(QColor(60, 40, 30));
    QPainterPath gate;
    gate.moveTo(30, 80);
    gate.lineTo(30, 68);
    gate.arcTo(QRectF(30, 63, 11, 10), 180, -180);
    gate.lineTo(41, 80);
    gate.closeSubpath();
    painter.drawPath(gate);
    for (const QRectF &window : {QRectF(15.5, 44, 3, 6), QRectF(52.5, 44, 3, 6), QRectF(34, 50, 3, 6)})
        painter.drawRoundedRect(window, 1.5, 1.5);
    painter.setPen(QPen(QColor(60, 60, 60), 0.7));
    painter.drawLine(QPointF(35.5, 38), QPointF(35.5, 24));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 200, 40));
    painter.drawPolygon(QPolygonF{QPointF(35.5, 24), QPointF(43, 27), QPointF(35.5, 30)});
}

void CardBackPainter::paintBeach()
{
    painter.fillRect(panelRect, verticalGradient(4, 52, QColor(70, 150, 230), QColor(185, 225, 250)));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 215, 50));
    painter.drawEllipse(QPointF(52, 17), 7, 7);
    painter.fillRect(QRectF(0, 50, CardShape::width, 18), verticalGradient(50, 68, QColor(30, 110, 190), QColor(60, 170, 210)));
    painter.setPen(QPen(QColor(255, 255, 255, 170), 0.8));
    for (qreal y = 54; y < 68; y += 5)
        for (qreal x = 6 + std::fmod(y, 10); x < 66; x += 16)
            painter.drawArc(QRectF(x, y, 8, 3), 0, 180 * 16);
    painter.fillRect(QRectF(0, 66, CardShape::width, 30), QColor(238, 214, 155));
    painter.setPen(QPen(QColor(40, 40, 60), 0.8));
    painter.drawPolyline(QPolygonF{QPointF(26, 22), QPointF(29, 20), QPointF(32, 22)});
    painter.drawPolyline(QPolygonF{QPointF(34, 16), QPointF(36.5, 14.5), QPointF(39, 16)});

    QPainterPath trunk;
    trunk.moveTo(19, 86);
    trunk.quadTo(14, 60, 24, 34);
    painter.strokePath(trunk, QPen(QColor(130, 85, 45), 3, Qt::SolidLine, Qt::RoundCap));
    const QColor frond(40, 140, 50);
    for (const qreal angle : {-160.0, -125.0, -55.0, -20.0, 20.0, 160.0}) {
        painter.save();
        painter.translate(24, 34);
        painter.rotate(angle);
        QPainterPath blade;
        blade.moveTo(0, 0);
        blade.quadTo(9, -5, 18, 2);
        blade.quadTo(9, -1, 0, 0);
        painter.fillPath(blade, frond);
        painter.restore();
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(110, 70, 40));
    painter.drawEllipse(QPointF(24.5, 36), 1.8, 1.8);
    painter.drawEllipse(QPointF(22, 35.5), 1.8, 1.8);
    painter.setBrush(QColor(230, 60, 60));
    painter.drawEllipse(QPointF(50, 80), 4, 4);
    painter.setBrush(Qt::white);
    painter.drawPie(QRectF(46, 76, 8, 8), 60 * 16, 60 * 16);
    painter.drawPie(QRectF(46, 76, 8, 8), 240 * 16, 60 * 16);
}

void CardBackPainter::paintSleeve()
{
    painter.fillRect(panelRect, QColor(120, 18, 32));
    painter.setPen(QPen(QColor(255, 210, 120, 60), 0.7));
    for (qreal offset = -96; offset < 96; offset += 9) {
        painter.drawLine(QPointF(offset, 0), QPointF(offset + 96, 96));
        painter.drawLine(QPointF(offset + 96, 0), QPointF(offset, 96));
    }
    // A magician's sleeve from the lower left, an ace slipping out of the cuff.
    painter.save();
    painter.translate(30, 62);
    painter.rotate(-55);
    painter.setPen(QPen(QColor(10, 10, 25), 0.8));
    painter.setBrush(QColor(35, 40, 70));
    painter.drawRect(QRectF(-60, -12, 58, 24));
    painter.setPen(QPen(QColor(70, 80, 120), 0.8));
    painter.drawLine(QPointF(-40, -8), QPointF(-12, -6));
    painter.drawLine(QPointF(-36, 7), QPointF(-14, 5));
    painter.save();
    painter.translate(4, 0);
    painter.rotate(12);
    painter.setPen(QPen(QColor(90, 90, 90), 0.6));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(0, -9, 30, 20), 2, 2);
    painter.rotate(90);
    SuitShape::draw(painter, SuitShape::spades, QPointF(1, -16), 10);
    painter.restore();
    painter.setPen(QPen(QColor(150, 150, 160), 0.7));
    painter.setBrush(QColor(248, 248, 248));
    painter.drawRect(QRectF(-3, -13.5, 8, 27));
    painter.setPen(QPen(QColor(150, 110, 20), 0.5));
    painter.setBrush(QColor(235, 190, 50));
    painter.drawEllipse(QPointF(1, 4), 1.8, 1.8);
    painter.restore();
}
