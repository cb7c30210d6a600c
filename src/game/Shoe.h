#pragma once
#include <array>
#include <cstdint>

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

    int count(int value) const { return counts[value - 1]; }
    int unmarked(int value) const { return count(value) - (value == markedValue ? marked : 0); }
    void remove(int value);
    void removeMarked();
    // Starts setting aside cards of a rank with this value, `remaining` of which are left.
    void markRank(int value, int remaining);
    void clearMark() { markedValue = 0; marked = 0; }

    // The counts alone (32 bits), and the counts with the marking (40 bits).
    uint64_t countsKey() const;
    uint64_t key() const { return countsKey() | uint64_t(markedValue) << 32 | uint64_t(marked) << 36; }

    // Calls f(probability, value, shoeAfter) for every next card the player can
    // receive. With `setAside` the program's split rule applies first: up to
    // two cards of the marked rank are dropped from the top before the card.
    template <class F> void forEachDraw(bool setAside, F &&f) const;
};

template <class F> void Shoe::forEachDraw(bool setAside, F &&f) const
{
    auto drawFrom = [&f](const Shoe &shoe, double weight, bool onlyUnmarked) {
        for (int value = 1; value <= 10; ++value) {
            const int plain = shoe.unmarked(value);
            if (plain > 0) {
                Shoe after = shoe;
                after.remove(value);
                f(weight * plain / shoe.total, value, after);
            }
            if (!onlyUnmarked && value == shoe.markedValue && shoe.marked > 0) {
                Shoe after = shoe;
                after.removeMarked();
                f(weight * shoe.marked / shoe.total, value, after);
            }
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
