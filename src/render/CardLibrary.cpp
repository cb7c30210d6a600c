#include "CardLibrary.h"
#include "CardBackPainter.h"
#include "CardFacePainter.h"
#include "CardShape.h"
#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QtMath>

namespace {
constexpr int faceMode = 0;
constexpr int backMode = 1;
constexpr int highlightedMode = 2;
constexpr int cardCount = 52;
// Any number outside 53..65 gives the plain back.
constexpr int plainBack = 0;

// One rendered picture: codes and modes are normalised first, so bad input
// maps onto the plain back instead of growing the cache without bound.
struct CardKey {
    int mode;
    int code;
    QRgb paper;
    qreal devicePixelRatio;

    bool operator==(const CardKey &other) const
    {
        return mode == other.mode && code == other.code && paper == other.paper
            && devicePixelRatio == other.devicePixelRatio;
    }
};

size_t qHash(const CardKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.mode, key.code, key.paper, key.devicePixelRatio);
}

QHash<CardKey, QImage> &cache()
{
    static QHash<CardKey, QImage> images;
    return images;
}

bool isFace(int code) { return code >= 0 && code < cardCount; }

bool isDesign(int code) { return code >= CardLibrary::firstBackDesign && code <= CardLibrary::lastBackDesign; }

CardKey keyFor(int code, int mode, QRgb paper, qreal devicePixelRatio)
{
    // Callers pass a plain RGB value; its alpha byte means nothing here.
    const QRgb opaquePaper = paper | 0xFF000000u;
    if (mode == backMode || !isFace(code))
        return {backMode, isDesign(code) && mode == backMode ? code : plainBack, opaquePaper, devicePixelRatio};
    return {mode, code, opaquePaper, devicePixelRatio};
}

QImage render(const CardKey &key)
{
    QImage image(qCeil(CardShape::width * key.devicePixelRatio), qCeil(CardShape::height * key.devicePixelRatio),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(key.devicePixelRatio);
    // Transparent outside the rounded outline, so the table shows through.
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    const QColor paper = QColor::fromRgb(key.paper);
    if (key.mode == backMode) {
        CardBackPainter(painter, paper).paint(key.code);
    } else {
        CardFacePainter face(painter, paper);
        face.paint(key.code / 4 + 1, key.code % 4);
        if (key.mode == highlightedMode)
            face.paintHighlight();
    }
    return image;
}

const QImage &cardImage(const CardKey &key)
{
    auto found = cache().constFind(key);
    if (found == cache().constEnd())
        found = cache().insert(key, render(key));
    return *found;
}
}

void cdtInit(int &width, int &height)
{
    width = CardShape::width;
    height = CardShape::height;
}

void cdtDraw(QPainter &painter, int x, int y, int code, int mode, QRgb paper)
{
    if (mode != faceMode && mode != backMode && mode != highlightedMode)
        return;
    if (!painter.isActive() || !painter.device())
        return;
    painter.drawImage(QPoint(x, y), cardImage(keyFor(code, mode, paper, painter.device()->devicePixelRatio())));
}

void cdtDraw(QPaintDevice *device, int x, int y, int code, int mode, QRgb paper)
{
    if (!device)
        return;
    QPainter painter(device);
    cdtDraw(painter, x, y, code, mode, paper);
}

void cdtTerm()
{
    cache().clear();
}
