#include "BannerCycle.h"
#include "Alert.h"
#include "ProgramFolder.h"
#include <QFileInfo>

std::optional<BannerCycle::Banner> BannerCycle::next(int16_t shown)
{
    for (int16_t step = 0; step < length; ++step) {
        const int16_t number = static_cast<int16_t>((shown + step) % length);
        const QString name = number < length - 1 ? QString::number(number + 1) + QStringLiteral(".gif")
                                                 : QStringLiteral("9.gif");
        if (unloadable.contains(name))
            continue;
        const QString path = ProgramFolder::file(QStringLiteral("pics"), name);
        QPixmap picture;
        if (picture.load(path))
            return Banner{picture, static_cast<int16_t>((number + 1) % length)};
        unloadable.insert(name);
        Alert::show(QStringLiteral("rotatebanner%1: pics/%2")
                        .arg(QFileInfo::exists(path) ? QStringLiteral("Invalid picture") : QStringLiteral("File not found"),
                             name));
    }
    return std::nullopt;
}
