#pragma once
#include "ChartCell.h"
#include <QSqlDatabase>
#include <array>
#include <cstdint>
#include <vector>

// Spaced repetition by chart cell: every cell starts in box 1; a right
// answer moves it up one box, a wrong one sends it back to box 1. A cell
// comes up in proportion to its box's weight, which halves from each box to
// the next, so box 1 comes sixteen times as often as box 5.
class LeitnerBoxes {
public:
    static constexpr int lastBox = 5;

    int box(const ChartCell &cell) const { return boxes[static_cast<std::size_t>(cell.index())]; }
    void setBox(const ChartCell &cell, int box);
    void answered(const ChartCell &cell, bool right);
    static double weight(int box) { return double(1 << (lastBox - box)); }
    int inFirstBox(const std::vector<ChartCell> &cells) const;

    // The boxes as the record keeps them; cells it holds nothing for stay in
    // box 1, and so does everything when the record cannot be read.
    void load(const QSqlDatabase &db);
    bool store(const QSqlDatabase &db, const ChartCell &cell) const;

private:
    std::array<uint8_t, 280> boxes = filled();
    static std::array<uint8_t, 280> filled()
    {
        std::array<uint8_t, 280> all;
        all.fill(1);
        return all;
    }
};
