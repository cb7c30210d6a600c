#pragma once
#include <QPixmap>
#include <QWidget>
#include <functional>

// The table: a persistent image (the picture, strips and everything painted
// to stay) and what is on screen. Drawing while the persistent image is
// switched off goes to the screen only, painted at once without processing
// events, and is lost at the next refresh: that is how a flying card is
// drawn without repainting the whole window per frame.
class TableSurface : public QWidget {
    Q_OBJECT
public:
    explicit TableSurface(QWidget *parent = nullptr);

    const QPixmap &image() const { return persistent; }
    // Replaces the persistent image by the picture on the table colour.
    void setPicture(const QPixmap &picture);
    void paintPersistent(const std::function<void(QPainter &)> &paint);
    // Copies an area of `source` to the screen at `target` and shows it now.
    void blitToScreen(const QPixmap &source, const QRect &sourceArea, const QPoint &target);
    // The screen shows the persistent image again.
    void refresh();

    qint64 screenPixelsPainted = 0; // for measuring frame cost

Q_SIGNALS:
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QPixmap persistent;
    QPixmap screen;
};
