// The card library on any codes, modes and positions, into a small image.
// Input: records of 4 bytes code, 4 bytes mode, 2 bytes x, 2 bytes y and
// 1 byte choosing the device pixel ratio.
#include "CardLibrary.h"
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_cardlibrary";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    constexpr size_t record = 13;
    static const qreal ratios[] = {1.0, 1.25, 1.5, 2.0};
    for (size_t at = 0; at + record <= size && at < 64 * record; at += record) {
        int32_t code, mode;
        int16_t x, y;
        std::memcpy(&code, data + at, 4);
        std::memcpy(&mode, data + at + 4, 4);
        std::memcpy(&x, data + at + 8, 2);
        std::memcpy(&y, data + at + 10, 2);
        QImage image(80, 100, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratios[data[at + 12] % 4]);
        image.fill(Qt::darkGreen);
        cdtDraw(&image, x % 200, y % 200, code, mode, 0xFFFFFF);
        if (data[at + 12] & 0x80)
            cdtTerm(); // a dropped cache must rebuild cleanly
    }
    return 0;
}
