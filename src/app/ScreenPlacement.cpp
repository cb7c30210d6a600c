#include "ScreenPlacement.h"
#include "Twips.h"
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

QPoint ScreenPlacement::place(std::optional<int> left, std::optional<int> top, int width,
                              const QPoint &defaultPlace, const QList<QRect> &screens)
{
    const QPoint stored(left.value_or(defaultPlace.x()), top.value_or(defaultPlace.y()));
    return titleBarReachable(stored, width, screens) ? stored : defaultPlace;
}

QPoint ScreenPlacement::fromStored(int32_t leftTwips, int32_t topTwips, int width, const QPoint &defaultPlace,
                                   const QScreen *screen)
{
    auto pixels = [screen](int32_t twips) {
        return twips == -1 ? std::nullopt : std::optional<int>(Twips::toPixels(twips, screen));
    };
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->geometry();
    return place(pixels(leftTwips), pixels(topTwips), width, defaultPlace, screens);
}

bool ScreenPlacement::titleBarReachable(const QPoint &topLeft, int width, const QList<QRect> &screens)
{
    const QRect titleBar(topLeft, QSize(width, titleBarHeight));
    // Half the bar's height is enough to take hold of it.
    const QSize enough(std::min(width, grabWidth), titleBarHeight / 2);
    return std::any_of(screens.begin(), screens.end(), [&](const QRect &screen) {
        const QRect onScreen = titleBar.intersected(screen);
        return onScreen.width() >= enough.width() && onScreen.height() >= enough.height();
    });
}

QPoint ScreenPlacement::beside(const QRect &companion, const QSize &size, const QRect &available)
{
    const int top = std::max(available.top(), std::min(companion.top(), available.bottom() + 1 - size.height()));
    if (companion.right() + size.width() <= available.right())
        return {companion.right() + 1, top};
    if (companion.left() - size.width() >= available.left())
        return {companion.left() - size.width(), top};
    return {available.left(), top};
}

QPoint ScreenPlacement::keptInside(const QRect &frame, const QRect &available)
{
    return {std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width())),
            std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height()))};
}

QPoint ScreenPlacement::leavingRoom(const QSize &size, int companionWidth, const QRect &available)
{
    const int both = size.width() + companionWidth;
    const int left = both <= available.width() ? available.left() + (available.width() - both) / 2
                                               : available.right() + 1 - size.width();
    return {std::max(available.left(), left), available.top() + std::max(0, (available.height() - size.height()) / 2)};
}
