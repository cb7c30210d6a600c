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
};
