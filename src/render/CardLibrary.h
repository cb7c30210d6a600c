#pragma once
#include <QRgb>

class QPainter;
class QPaintDevice;

// Our card-drawing library. Card codes: a face is (rank - 1) * 4 + suit,
// 0..51; a back is a design number 53..65. Modes: 0 face, 1 back,
// 2 highlighted face (a busted hand). Anything else draws a plain back or
// nothing; it never reads out of range.
namespace CardLibrary {
constexpr int firstBackDesign = 53;
constexpr int lastBackDesign = 65;
constexpr int hatchDesign = 53;
}

// Gives the card size in pixels: 71 x 96.
void cdtInit(int &width, int &height);
// Paints one card with its top-left corner at (x, y). `paper` is the colour
// of the card's paper (the table always passes white).
void cdtDraw(QPainter &painter, int x, int y, int code, int mode, QRgb paper);
void cdtDraw(QPaintDevice *device, int x, int y, int code, int mode, QRgb paper);
// Releases what the library holds (its cache of rendered cards).
void cdtTerm();
