#pragma once
#include <QPainterPath>

// The card's size and rounded outline in logical pixels, shared by the face
// and back painters so every card has the same silhouette.
class CardShape {
public:
    static constexpr int width = 71;
    static constexpr int height = 96;
    static QPainterPath outline();
    // The outline inset by `margin` on every side, with a matching radius.
    static QPainterPath inset(qreal margin);
};
