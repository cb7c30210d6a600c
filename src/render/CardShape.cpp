#include "CardShape.h"
#include <QtGlobal>

namespace {
constexpr qreal cornerRadius = 5.0;
}

QPainterPath CardShape::outline()
{
    // Half a pixel in, so a one-pixel border falls exactly on whole pixels.
    return inset(0.5);
}

QPainterPath CardShape::inset(qreal margin)
{
    QPainterPath path;
    const qreal radius = qMax<qreal>(1.0, cornerRadius - (margin - 0.5));
    path.addRoundedRect(QRectF(margin, margin, width - 2 * margin, height - 2 * margin), radius, radius);
    return path;
}
