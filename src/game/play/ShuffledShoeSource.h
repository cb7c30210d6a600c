#pragma once
#include "RandomSource.h"
#include "ShoeSource.h"

// A uniform shuffle (Fisher-Yates), one draw of the generator per card.
class ShuffledShoeSource : public ShoeSource {
public:
    explicit ShuffledShoeSource(RandomSource &random) : random(random) {}
    void order(std::vector<Card> &cards) override;

private:
    RandomSource &random;
};
