#include "TableSurface.h"
#include "PictureBox.h"
#include <QPaintEvent>
#include <QPainter>

namespace {
const QColor tableEdge(46, 28, 16);
}

TableSurface::TableSurface(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void TableSurface::setPicture(const QPixmap &picture)
{
    persistent = QPixmap(size());
    persistent.fill(tableEdge);
    QPainter painter(&persistent);
    painter.drawPixmap(0, 0, picture);
    painter.end();
    refresh();
}

void TableSurface::paintPersistent(const std::function<void(QPainter &)> &paint)
{
    QPainter painter(&persistent);
    paint(painter);
    painter.end();
    refresh();
}

void TableSurface::blitToScreen(const QPixmap &source, const QRect &sourceArea, const QPoint &target)
{
    QPainter painter(&screen);
    painter.drawPixmap(QPointF(target), source, PictureBox::devicePixels(source, sourceArea));
    painter.end();
    const QRect area(target, sourceArea.size());
    screenPixelsPainted += qint64(area.width()) * area.height();
    repaint(area);
}

void TableSurface::refresh()
{
    screen = persistent;
    update();
}

void TableSurface::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawPixmap(event->rect(), screen, event->rect());
}

void TableSurface::resizeEvent(QResizeEvent *)
{
    if (persistent.size() == size())
        return;
    QPixmap resized(size());
    resized.fill(tableEdge);
    QPainter painter(&resized);
    painter.drawPixmap(0, 0, persistent);
    painter.end();
    persistent = resized;
    refresh();
}

void TableSurface::mouseMoveEvent(QMouseEvent *)
{
    Q_EMIT mouseMoved();
}
