#include "ShuffledShoeSource.h"
#include <algorithm>
#include <cmath>
#include <utility>

void ShuffledShoeSource::order(std::vector<Card> &cards)
{
    for (int i = static_cast<int>(cards.size()) - 1; i > 0; --i) {
        const int j = std::clamp(static_cast<int>(std::floor(random.next() * float(i + 1))), 0, i);
        std::swap(cards[i], cards[j]);
    }
}
