#pragma once
#include <array>
#include <cstdint>
#include <cstring>

// A rank's point value (1 = ace .. 10 for the ten and the court cards), the
// value the shoe counts it under.
inline int valueOf(int rank)
{
    return rank > 10 ? 10 : rank;
}

// The cards still to come, counted by point value (index 0 = ace .. 9 = the
// ten-value cards). While the first hand of a split is played, cards of the
// pair's rank are set aside before each hit; `marked` counts the remaining
// cards of that rank (they are included in their value's count), because for
// a ten-value pair only one of the four ten-value ranks is set aside.
struct Shoe {
    std::array<uint8_t, 10> counts{};
    int total = 0;
    int markedValue = 0; // value of the split pair's rank, 0 when nothing is set aside
    int marked = 0;

    static Shoe fullDeck();
    // A casino shoe of 1..8 decks.
    static Shoe fullShoe(int decks);

    int count(int value) const { return counts[value - 1]; }
    int unmarked(int value) const { return count(value) - (value == markedValue ? marked : 0); }
    void remove(int value)
    {
        --counts[value - 1];
        --total;
    }
    void put(int value)
    {
        ++counts[value - 1];
        ++total;
    }
    void removeMarked()
    {
        remove(markedValue);
        --marked;
    }
    // Removes the card at `position` (0 .. total - 1, the cards in value
    // order) and returns its value: a random position draws a random card.
    int take(int position);
    // Starts setting aside cards of a rank with this value, `remaining` of which are left.
    void markRank(int value, int remaining);
    void clearMark() { markedValue = 0; marked = 0; }

    // The counts alone (41 bits), and the counts with the marking (48 bits).
    uint64_t countsKey() const
    {
        // Eight counts of 0..4, one a byte, packed to one a nibble: pairs of
        // bytes, then pairs of those, then pairs again.
        uint64_t low;
        std::memcpy(&low, counts.data(), sizeof low);
        low = (low | low >> 4) & 0x00FF00FF00FF00FFull;
        low = (low | low >> 8) & 0x0000FFFF0000FFFFull;
        low = (low | low >> 16) & 0x00000000FFFFFFFFull;
        return low | uint64_t(counts[8]) << 32 | uint64_t(counts[9]) << 36; // ten-values 0..16: five bits
    }
    uint64_t key() const { return countsKey() | uint64_t(markedValue) << 41 | uint64_t(marked) << 45; }
    // The counts of a shoe of up to 8 decks (62 bits): six bits for each of
    // 0..32 aces to nines, eight for up to 128 ten-values.
    uint64_t shoeKey() const
    {
        uint64_t key = counts[9];
        for (int i = 0; i < 9; ++i)
            key = key << 6 | counts[i];
        return key;
    }

    // Calls f(probability, value, shoeAfter) for every next card the player can
    // receive. With `setAside` the program's split rule applies first: up to
    // two cards of the marked rank are dropped from the top before the card.
    template <class F> void forEachDraw(bool setAside, F &&f) const;
    // The same draws as f(probability, value, shoeBefore, marked): the card is
    // taken from shoeBefore, of the marked rank when `marked`. For callers
    // that build the shoe after the draw where they keep it.
    template <class F> void forEachCard(bool setAside, F &&f) const;
};

template <class F> void Shoe::forEachDraw(bool setAside, F &&f) const
{
    forEachCard(setAside, [&f](double probability, int value, const Shoe &from, bool marked) {
        Shoe after = from;
        if (marked)
            after.removeMarked();
        else
            after.remove(value);
        f(probability, value, after);
    });
}

template <class F> void Shoe::forEachCard(bool setAside, F &&f) const
{
    auto drawFrom = [&f](const Shoe &shoe, double weight, bool onlyUnmarked) {
        for (int value = 1; value <= 10; ++value) {
            const int plain = shoe.unmarked(value);
            if (plain > 0)
                f(weight * plain / shoe.total, value, shoe, false);
            if (!onlyUnmarked && value == shoe.markedValue && shoe.marked > 0)
                f(weight * shoe.marked / shoe.total, value, shoe, true);
        }
    };
    if (!setAside || marked == 0) {
        drawFrom(*this, 1.0, false);
        return;
    }
    // The top card is kept when it is not of the rank: the card dealt is then
    // one of the other cards, and likewise after one card set aside.
    const double n = total;
    const double k = marked;
    drawFrom(*this, 1.0, true);
    Shoe oneAside = *this;
    oneAside.removeMarked();
    drawFrom(oneAside, k / n, true);
    if (marked >= 2 && total >= 3) {
        Shoe twoAside = oneAside;
        twoAside.removeMarked();
        drawFrom(twoAside, k / n * (k - 1) / (n - 1), false);
    }
}
