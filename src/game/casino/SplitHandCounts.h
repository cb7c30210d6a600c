#pragma once

// How many hands a split pair ends in, on average: hands whose second card
// is not of the pair's value, and hands dealt a pair again once no more
// resplits are allowed. The second cards are taken as dealt one after the
// other from the shoe left after the pair (cards drawn by hands in between
// are not followed).
struct SplitHandCounts {
    double otherCard = 0.0;
    double pairAgain = 0.0;

    // `pairCards` of the pair's value among `shoeTotal` cards, the pair out;
    // at most `mostHands` hands.
    static SplitHandCounts of(int pairCards, int shoeTotal, int mostHands);
};
