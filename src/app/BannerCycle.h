#pragma once
#include <QPixmap>
#include <QSet>
#include <QString>
#include <cstdint>
#include <optional>

// The banner pictures in turn: pics/1.gif to pics/15.gif, then pics/9.gif,
// chosen by the number of the banner now shown (0 before the first). A
// picture that cannot be loaded is reported once, naming its file, and
// skipped from then on, so the strip moves on to the next one.
class BannerCycle {
public:
    static constexpr int16_t length = 16;

    struct Banner {
        QPixmap picture;
        int16_t shown; // the number to keep while it is shown
    };
    // The first banner after `shown` that loads; nullopt when none does.
    std::optional<Banner> next(int16_t shown);

private:
    QSet<QString> unloadable;
};
