#include "SuitShape.h"
#include <QPainter>
#include <array>

namespace {
// Shared by spades and clubs: a narrow stem flaring out to a flat foot.
QPainterPath stem()
{
    QPainterPath path;
    path.moveTo(-0.04, 0.12);
    path.lineTo(0.04, 0.12);
    path.quadTo(0.07, 0.42, 0.2, 0.5);
    path.lineTo(-0.2, 0.5);
    path.quadTo(-0.07, 0.42, -0.04, 0.12);
    path.closeSubpath();
    return path;
}

QPainterPath club()
{
    QPainterPath leaves;
    const qreal radius = 0.21;
    leaves.addEllipse(QPointF(0, -0.28), radius, radius);
    leaves.addEllipse(QPointF(-0.28, 0.06), radius, radius);
    leaves.addEllipse(QPointF(0.28, 0.06), radius, radius);
    leaves.addEllipse(QPointF(0, -0.02), 0.12, 0.12);
    return leaves.united(stem()).simplified();
}

QPainterPath diamond()
{
    QPainterPath path;
    path.moveTo(0, -0.5);
    path.quadTo(0.16, -0.22, 0.38, 0);
    path.quadTo(0.16, 0.22, 0, 0.5);
    path.quadTo(-0.16, 0.22, -0.38, 0);
    path.quadTo(-0.16, -0.22, 0, -0.5);
    path.closeSubpath();
    return path;
}

QPainterPath heart()
{
    QPainterPath path;
    path.moveTo(0, 0.48);
    path.cubicTo(-0.2, 0.28, -0.5, 0.06, -0.5, -0.2);
    path.cubicTo(-0.5, -0.4, -0.36, -0.5, -0.25, -0.5);
    path.cubicTo(-0.1, -0.5, 0, -0.4, 0, -0.28);
    path.cubicTo(0, -0.4, 0.1, -0.5, 0.25, -0.5);
    path.cubicTo(0.36, -0.5, 0.5, -0.4, 0.5, -0.2);
    path.cubicTo(0.5, 0.06, 0.2, 0.28, 0, 0.48);
    path.closeSubpath();
    return path;
}

QPainterPath spade()
{
    QPainterPath body;
    body.moveTo(0, -0.5);
    body.cubicTo(0.2, -0.28, 0.5, -0.1, 0.5, 0.12);
    body.cubicTo(0.5, 0.3, 0.36, 0.38, 0.25, 0.38);
    body.cubicTo(0.12, 0.38, 0.04, 0.3, 0, 0.2);
    body.cubicTo(-0.04, 0.3, -0.12, 0.38, -0.25, 0.38);
    body.cubicTo(-0.36, 0.38, -0.5, 0.3, -0.5, 0.12);
    body.cubicTo(-0.5, -0.1, -0.2, -0.28, 0, -0.5);
    body.closeSubpath();
    return body.united(stem()).simplified();
}
}

const QPainterPath &SuitShape::path(int suit)
{
    static const std::array<QPainterPath, 4> paths{club(), diamond(), heart(), spade()};
    return paths[static_cast<size_t>(qBound(0, suit, 3))];
}

QColor SuitShape::colour(int suit)
{
    return suit == diamonds || suit == hearts ? QColor(204, 18, 36) : QColor(24, 24, 28);
}

void SuitShape::draw(QPainter &painter, int suit, const QPointF &centre, qreal size, bool upsideDown)
{
    painter.save();
    painter.translate(centre);
    if (upsideDown)
        painter.rotate(180);
    painter.scale(size, size);
    painter.fillPath(path(suit), colour(suit));
    painter.restore();
}
