#pragma once
#include <QList>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <optional>

class QScreen;

// Where a window goes when it opens. A stored place is used as it is while
// the window's title bar can still be grabbed on some screen; otherwise, as
// when nothing is stored, the window takes its default place. A place with
// only one coordinate stored takes the other from the default place.
class ScreenPlacement {
public:
    // The strip along the window's top that must lie on a screen.
    static constexpr int titleBarHeight = 24;
    static constexpr int grabWidth = 100;

    static QPoint place(std::optional<int> left, std::optional<int> top, int width, const QPoint &defaultPlace,
                        const QList<QRect> &screens);
    // A place stored in twips, -1 meaning none, on the screens now attached.
    static QPoint fromStored(int32_t leftTwips, int32_t topTwips, int width, const QPoint &defaultPlace,
                             const QScreen *screen);

    static bool titleBarReachable(const QPoint &topLeft, int width, const QList<QRect> &screens);

    // A window of `size` beside the frame `companion` (the table), its top
    // level with the table's: to its right where the screen has room, else
    // to its left, else against the screen's left edge, over the table's
    // left side, never over its bank and title-bar buttons on the right.
    static QPoint beside(const QRect &companion, const QSize &size, const QRect &available);
    // Where a window of `size` goes when nothing is stored: centred with a
    // companion of `companionWidth` beside it, or flush with the screen's
    // right edge when both do not fit, so the companion covers the least.
    static QPoint leavingRoom(const QSize &size, int companionWidth, const QRect &available);
    // Where a window whose frame has grown goes so that all of it stays on
    // the screen: moved back from the right and bottom edges as far as it
    // sticks out, never past the left and top ones.
    static QPoint keptInside(const QRect &frame, const QRect &available);
};
