#include "PictureBox.h"
#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRectF PictureBox::devicePixels(const QPixmap &image, const QRectF &area)
{
    const qreal ratio = image.devicePixelRatio();
    return {area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio};
}

QPixmap &PictureBox::image()
{
    // Made at the screen's pixel ratio, so cards drawn here stay sharp on a
    // scaled screen.
    const qreal ratio = devicePixelRatioF();
    if (picture.deviceIndependentSize() != QSizeF(size()) || picture.devicePixelRatio() != ratio) {
        // Keep what was painted; new area is black until painted.
        QPixmap resized(size() * ratio);
        resized.setDevicePixelRatio(ratio);
        resized.fill(Qt::black);
        QPainter painter(&resized);
        painter.drawPixmap(0, 0, picture);
        painter.end();
        picture = resized;
    }
    return picture;
}

void PictureBox::copyFrom(const QPixmap &source, const QRect &sourceArea)
{
    QPainter painter(&image());
    painter.drawPixmap(QPointF(0, 0), source, devicePixels(source, sourceArea));
}

void PictureBox::setImage(const QPixmap &image)
{
    picture = image;
    update();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawPixmap(QRectF(event->rect()), image(), devicePixels(image(), event->rect()));
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT clicked();
}
