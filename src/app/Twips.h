#pragma once
#include <QGuiApplication>
#include <QScreen>
#include <QtGlobal>

// Window positions and the chart layout are kept in twips, 1440 to the
// logical inch, so a stored position means the same place whatever the
// screen's pixel density (15 twips to the pixel at 96 dpi).
class Twips {
public:
    static constexpr int perInch = 1440;

    static double dotsPerInch(const QScreen *screen)
    {
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        const double dpi = screen ? screen->logicalDotsPerInch() : 0.0;
        return dpi > 0.0 ? dpi : 96.0;
    }

    static int toPixels(int twips, const QScreen *screen)
    {
        return qRound(twips * dotsPerInch(screen) / perInch);
    }

    static int fromPixels(int pixels, const QScreen *screen)
    {
        return qRound(pixels * perInch / dotsPerInch(screen));
    }
};
