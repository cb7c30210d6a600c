#include "HandsLayout.h"
#include <algorithm>
#include <cmath>

HandsLayout::HandsLayout(const std::vector<int> &cardsPerHand, int areaWidth, QSize card, int cardSpace, int areaLeft)
    : counts(cardsPerHand)
{
    const int hands = static_cast<int>(counts.size());
    int fullWidth = 0; // of every hand's cards at full size, without gaps
    for (int count : counts)
        fullWidth += card.width() + std::max(0, count - 1) * cardSpace;
    int gap = handGap;
    if (fullWidth + (hands - 1) * gap > areaWidth)
        gap = closestGap;
    if (fullWidth + (hands - 1) * gap > areaWidth)
        cardScale = std::max(smallestScale, std::floor(100.0 * (areaWidth - (hands - 1) * gap) / fullWidth) / 100.0);
    cardSize = QSize(static_cast<int>(std::lround(card.width() * cardScale)),
                     static_cast<int>(std::lround(card.height() * cardScale)));
    space = static_cast<int>(std::lround(cardSpace * cardScale));

    int total = (hands - 1) * gap;
    for (int count : counts)
        total += cardSize.width() + std::max(0, count - 1) * space;
    int left = areaLeft + std::max(0, (areaWidth - total) / 2);
    for (int count : counts) {
        lefts.push_back(left);
        left += cardSize.width() + std::max(0, count - 1) * space + gap;
    }
}

QRect HandsLayout::cardRect(int hand, int card) const
{
    return QRect(QPoint(lefts[static_cast<std::size_t>(hand)] + card * space, 0), cardSize);
}

QRect HandsLayout::handRect(int hand) const
{
    const int count = std::max(1, counts[static_cast<std::size_t>(hand)]);
    return QRect(QPoint(lefts[static_cast<std::size_t>(hand)], 0),
                 QSize(cardSize.width() + (count - 1) * space, cardSize.height()));
}
