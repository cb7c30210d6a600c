#pragma once
#include "Card.h"
#include <cstddef>
#include <vector>

// A hand of n cards is stored as n + 1 items, the last one empty: the upper
// bound equals the card count, and a new card's place on the table is
// computed from it.
class Hand {
public:
    Hand() : items(1) {}

    int count() const { return static_cast<int>(items.size()) - 1; }
    int upperBound() const { return count(); }
    const Card &operator[](int i) const { return items.at(static_cast<std::size_t>(i)); }

    void add(const Card &card);
    void reset() { items.assign(1, Card{}); }
    // Keeps the first n cards (and a fresh empty slot after them).
    void truncate(int n);

    const std::vector<Card> &elements() const { return items; }

private:
    std::vector<Card> items;
};

// Aces count 1, then 10 is added once per ace while the total stays below 22.
int16_t handTotal(const Hand &hand);
int16_t handTotal(const std::vector<Card> &cards);

inline bool isBust(int total) { return total > 21; }
inline bool isTwentyOne(int total) { return total == 21; }
