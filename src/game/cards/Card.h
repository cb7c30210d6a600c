#pragma once
#include <cstdint>

// One playing card as every part of the game passes it around. An all-zero
// record is an empty hand slot; its rank of 0 keeps it out of every count.
struct Card {
    int16_t cardIndex = 0; // card library number: (rank - 1) * 4 + suit
    int16_t rank = 0;      // 1 = ace .. 13 = king
    int16_t suit = 0;      // 0..3, library order

    static Card fromIndex(int index);
    bool isEmpty() const { return rank == 0; }
};

// Point value of one card: ace 1, pips face value, ten and court cards 10.
int16_t cardValue(const Card &card);
