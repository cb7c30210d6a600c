#pragma once
#include <QColor>
#include <QPainterPath>

class QPainter;
class QPointF;

// Suit symbols as vector paths, so they stay sharp at any scale and never
// depend on a font. Suits are numbered 0 clubs, 1 diamonds, 2 hearts, 3 spades.
class SuitShape {
public:
    static constexpr int clubs = 0;
    static constexpr int diamonds = 1;
    static constexpr int hearts = 2;
    static constexpr int spades = 3;

    // The symbol in a unit box centred on the origin (-0.5..0.5 both ways).
    static const QPainterPath &path(int suit);
    static QColor colour(int suit);
    // Fills the symbol `size` pixels high centred on `centre`; an upside-down
    // symbol is turned 180 degrees, as on the lower half of a real card.
    static void draw(QPainter &painter, int suit, const QPointF &centre, qreal size, bool upsideDown = false);
};
