#include "PictureBox.h"
#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPixmap &PictureBox::image()
{
    if (picture.size() != size()) {
        // Keep what was painted; new area is black until painted.
        QPixmap resized(size());
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
    painter.drawPixmap(QPoint(0, 0), source, sourceArea);
}

void PictureBox::setImage(const QPixmap &image)
{
    picture = image;
    update();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawPixmap(event->rect(), image(), event->rect());
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT clicked();
}
