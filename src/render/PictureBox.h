#pragma once
#include <QPixmap>
#include <QWidget>

// A box on the table holding a persistent image: whatever is painted into
// it stays until painted over, and it is shown as it is.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    // The image always has the box's size, also before the box is first
    // shown (a hidden widget gets its resize event only when shown).
    QPixmap &image();
    const QPixmap &image() const { return const_cast<PictureBox *>(this)->image(); }
    // Copies `source` (an area of another image) into the box at (0, 0).
    void copyFrom(const QPixmap &source, const QRect &sourceArea);
    void setImage(const QPixmap &image);
    void refresh() { update(); }
    // An area given in the table's pixels as the pixels of `image`, which
    // holds more of them on a scaled screen.
    static QRectF devicePixels(const QPixmap &image, const QRectF &area);

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QPixmap picture;
};
