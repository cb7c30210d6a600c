#pragma once
#include <QColor>

class QPainter;
class QPointF;
class QRectF;

// Paints one card face in the card's logical coordinates (71 x 96): the
// corner indices, the pips or the court panel, and the outline.
class CardFacePainter {
public:
    CardFacePainter(QPainter &painter, const QColor &paper);
    // rank 1 (ace) .. 13 (king), suit as SuitShape numbers it.
    void paint(int rank, int suit);
    // Marks a busted hand: a warm tint over the face and a strong border,
    // keeping the face readable underneath.
    void paintHighlight();

private:
    void paintIndex(int rank, int suit);
    void paintPips(int rank, int suit);
    void paintAce(int suit);
    void paintAceOfSpades();
    void paintCourt(int rank, int suit);
    void paintCourtHalf(int rank, int suit, const QRectF &panel);
    void paintCrown(int rank);
    void paintFigure(int rank);

    QPainter &painter;
    QColor paper;
};
