#pragma once
#include <QRect>
#include <QSize>
#include <vector>

// Where the player's hands lie across the player's area: side by side,
// centred, each hand's cards overlapping so that every card's left strip,
// which carries its index, stays in view. Hands that would not fit at full
// size are drawn closer together and then smaller, never below
// `smallestScale`, so an index stays readable.
class HandsLayout {
public:
    static constexpr double smallestScale = 0.6;
    static constexpr int handGap = 14;     // between two hands, at full size
    static constexpr int closestGap = 6;

    // Places start `left` pixels into the area.
    HandsLayout(const std::vector<int> &cardsPerHand, int areaWidth, QSize card, int cardSpace, int left = 0);

    double scale() const { return cardScale; }
    // A card's place inside the area's width; its top is for the card's
    // bottom to lie on the area's card line.
    QRect cardRect(int hand, int card) const;
    // A hand's whole width, from its first card's left to its last card's right.
    QRect handRect(int hand) const;

private:
    std::vector<int> counts;
    std::vector<int> lefts;
    QSize cardSize;
    int space = 0;
    double cardScale = 1.0;
};
