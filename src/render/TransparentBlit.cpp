#include "TransparentBlit.h"
#include "PictureBox.h"
#include <QBitmap>
#include <QPainter>

void transparentBlit(QPixmap &destination, const QPixmap &source, const QRect &sourceArea, const QPoint &at,
                     const QColor &transparentColour)
{
    QPixmap masked = source.copy(PictureBox::devicePixels(source, sourceArea).toRect());
    masked.setMask(masked.createMaskFromColor(transparentColour, Qt::MaskInColor));
    QPainter painter(&destination);
    painter.drawPixmap(at, masked);
}
