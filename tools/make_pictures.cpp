// Paints all of Vantrel's pictures: the table, its border strips, the
// banners, the splash and the application icon. Everything is drawn here
// from fixed seeds, so running it again gives the same files.
//
// Usage: make_pictures <pics folder> <folder for the banner PNGs>
// The banner PNGs are turned into GIFs by make_banners.sh.

#include "TableLayout.h"
#include "ToolCommandLine.h"

#include <QtMath>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// ---------------------------------------------------------------- noise

// Integer hash to [0, 1): the same input always gives the same value, on
// every machine, which keeps the pictures reproducible.
double hashUnit(int x, int y, uint32_t seed)
{
    uint32_t h = seed * 374761393u + static_cast<uint32_t>(x) * 668265263u
               + static_cast<uint32_t>(y) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffffff) / double(0x1000000);
}

double smooth(double t) { return t * t * (3.0 - 2.0 * t); }

double valueNoise(double x, double y, uint32_t seed)
{
    const int ix = int(std::floor(x));
    const int iy = int(std::floor(y));
    const double fx = smooth(x - ix);
    const double fy = smooth(y - iy);
    const double a = hashUnit(ix, iy, seed), b = hashUnit(ix + 1, iy, seed);
    const double c = hashUnit(ix, iy + 1, seed), d = hashUnit(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

double fractalNoise(double x, double y, uint32_t seed, int octaves = 4)
{
    double sum = 0, amplitude = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * valueNoise(x, y, seed + i * 101);
        norm += amplitude;
        x *= 2.03;
        y *= 2.03;
        amplitude *= 0.5;
    }
    return sum / norm;
}

QColor mix(const QColor &a, const QColor &b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                            a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

QRgb scaled(const QColor &c, double f)
{
    auto ch = [f](int v) { return std::clamp(int(std::lround(v * f)), 0, 255); };
    return qRgb(ch(c.red()), ch(c.green()), ch(c.blue()));
}

// ---------------------------------------------------------------- wood

struct WoodTone {
    QColor dark;
    QColor light;
};

const WoodTone tableWood{QColor(62, 24, 8), QColor(184, 102, 50)};
const WoodTone railWood{QColor(40, 15, 5), QColor(138, 70, 32)};

// Wood colour at a point, u running along the grain and v across it.
QColor woodAt(double u, double v, const WoodTone &tone, uint32_t seed)
{
    // Slow waves bend the grain lines; thin dark lines and lighter streaks
    // run along the board.
    const double warp = fractalNoise(u * 0.004, v * 0.08, seed) * 12.0
                      + fractalNoise(u * 0.03, v * 0.1, seed + 3, 2) * 1.5;
    const double lines = std::pow(0.5 + 0.5 * std::sin(v * 1.1 + warp), 4.0);
    const double streaks = fractalNoise(u * 0.01, v * 0.9, seed + 7, 3);
    const double figure = fractalNoise(u * 0.002, v * 0.02, seed + 11, 2);
    const double pores = hashUnit(int(u * 0.5), int(v), seed + 13);
    const double t = 0.1 + 0.75 * streaks + 0.3 * (figure - 0.5) - 0.3 * lines + 0.08 * pores;
    return mix(tone.dark, tone.light, t);
}

// Paints a polished wooden frame of the given thickness around the
// picture's edges, with mitred corners and a rounded rail profile lit from
// the top left.
void paintWoodFrame(QImage &image, int thickness, const WoodTone &tone, uint32_t seed)
{
    const int w = image.width(), h = image.height();
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int dl = x, dr = w - 1 - x, dt = y, db = h - 1 - y;
            const int nearest = std::min({dl, dr, dt, db});
            if (nearest >= thickness)
                continue;
            double u, v, light;
            if (nearest == dt) {
                u = x; v = y; light = 1.08;
            } else if (nearest == db) {
                u = x + 900; v = db + 40; light = 0.86;
            } else if (nearest == dl) {
                u = y + 1700; v = x + 80; light = 1.0;
            } else {
                u = y + 2500; v = dr + 120; light = 0.9;
            }
            // Rounded rail: bright along its crown, dark at both edges.
            const double p = (nearest + 0.5) / thickness;
            const double crown = std::pow(std::sin(M_PI * std::min(1.0, p * 1.15)), 0.6);
            double shade = (0.72 + 0.38 * crown) * light;
            const double highlight = std::exp(-std::pow((p - 0.32) / 0.09, 2.0)) * 0.22;
            // Dark seams where the mitred boards meet.
            const bool seam = std::abs(std::min(dl, dr) - std::min(dt, db)) < 1
                              && nearest < thickness - 1;
            if (seam)
                shade *= 0.55;
            const QColor wood = woodAt(u, v, tone, seed);
            line[x] = scaled(mix(wood, QColor(255, 226, 180), highlight), shade);
        }
    }
}

// Wood grain filling a whole strip, grain along its long side.
QImage woodStrip(int width, int height, const WoodTone &tone, uint32_t seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    const bool horizontal = width >= height;
    const int thickness = horizontal ? height : width;
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double u = horizontal ? x : y;
            const int across = horizontal ? y : x;
            const double p = (across + 0.5) / thickness;
            const double crown = std::pow(std::sin(M_PI * p), 0.5);
            const double highlight = std::exp(-std::pow((p - 0.3) / 0.12, 2.0)) * 0.3;
            const QColor wood = woodAt(u, across, tone, seed);
            line[x] = scaled(mix(wood, QColor(255, 222, 170), highlight), 0.55 + 0.55 * crown);
        }
    }
    // A thin dark line on each long edge separates the rail from its neighbours.
    QPainter painter(&image);
    painter.setPen(QColor(20, 8, 2, 200));
    if (horizontal) {
        painter.drawLine(0, 0, width - 1, 0);
        painter.drawLine(0, height - 1, width - 1, height - 1);
    } else {
        painter.drawLine(0, 0, 0, height - 1);
        painter.drawLine(width - 1, 0, width - 1, height - 1);
    }
    return image;
}

// ---------------------------------------------------------------- felt

const QColor feltLight(22, 112, 58);
const QColor feltDark(7, 58, 30);
const QColor paleGold(226, 198, 122);

void paintFelt(QImage &image, const QRect &area, uint32_t seed)
{
    const QPointF centre(area.center().x(), area.top() + area.height() * 0.46);
    const double reach = std::hypot(area.width() / 2.0, area.height() / 2.0);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const double d = std::hypot(x - centre.x(), (y - centre.y()) * 1.25) / reach;
            const QColor base = mix(feltLight, feltDark, std::pow(d, 1.8));
            // Fine fibres plus a slightly coarser nap keep the felt from
            // looking like flat paint.
            const double fibre = hashUnit(x, y, seed) - 0.5;
            const double nap = fractalNoise(x * 0.15, y * 0.15, seed + 3, 2) - 0.5;
            line[x] = scaled(base, 1.0 + fibre * 0.07 + nap * 0.08);
        }
    }
}

// Soft shadow that the raised rail throws onto the felt.
void paintInnerShadow(QPainter &painter, const QRect &area, int depth)
{
    for (int i = 0; i < depth; ++i) {
        const int alpha = int(110 * std::pow(1.0 - double(i) / depth, 2.0));
        painter.setPen(QColor(0, 0, 0, alpha));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area.adjusted(i, i, -i - 1, -i - 1));
    }
}

// ---------------------------------------------------------------- text

QFont dejaVu(const QString &family, double pixelSize, int weight = QFont::Normal)
{
    QFont font(family);
    font.setPixelSize(qRound(pixelSize));
    font.setWeight(QFont::Weight(weight));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont sans(double pixelSize, int weight = QFont::Normal) { return dejaVu("DejaVu Sans", pixelSize, weight); }
QFont serif(double pixelSize, int weight = QFont::Normal) { return dejaVu("DejaVu Serif", pixelSize, weight); }

// Text with a one-pixel shadow, so it stays readable on any background.
void drawShadowedText(QPainter &painter, const QRectF &rect, int flags, const QString &text,
                      const QColor &colour, const QColor &shadow = QColor(0, 0, 0, 150))
{
    painter.setPen(shadow);
    painter.drawText(rect.translated(1, 1), flags, text);
    painter.setPen(colour);
    painter.drawText(rect, flags, text);
}

// Lays text along the lower part of a circle, reading left to right, as the
// printed arcs on a casino felt do.
void drawArcText(QPainter &painter, const QString &text, const QPointF &middle, double radius,
                 double spacing, const QColor &colour)
{
    const QFontMetricsF metrics(painter.font());
    std::vector<double> advances;
    double total = 0;
    for (const QChar ch : text) {
        advances.push_back(metrics.horizontalAdvance(ch) + spacing);
        total += advances.back();
    }
    const QPointF centre(middle.x(), middle.y() - radius);
    double along = -total / 2.0;
    for (int i = 0; i < text.size(); ++i) {
        const double angle = (along + advances[i] / 2.0) / radius;
        painter.save();
        painter.translate(centre.x() + radius * std::sin(angle), centre.y() + radius * std::cos(angle));
        painter.rotate(-qRadiansToDegrees(angle));
        // Outlines rather than glyph drawing: rotated glyphs can come out
        // at uneven sizes, outlines scale exactly.
        QPainterPath glyph;
        glyph.addText(QPointF(-(advances[i] - spacing) / 2.0, 0), painter.font(), QString(text[i]));
        painter.fillPath(glyph, colour);
        painter.restore();
        along += advances[i];
    }
}

// ---------------------------------------------------------------- cards and chips

const QString spadeGlyph = QString(QChar(0x2660));
const QString heartGlyph = QString(QChar(0x2665));
const QString kingGlyph = QString(QChar(0x265A));
const QColor cardRed(190, 22, 36);
const QColor cardBlack(24, 24, 30);

// One playing card of our own design, drawn in a rect at the origin:
// corner indices and a large centre figure.
void drawCard(QPainter &painter, const QRectF &rect, const QString &rank, const QString &suit,
              const QString &centreFigure, const QColor &ink)
{
    const double w = rect.width(), h = rect.height();
    const double radius = w * 0.08;
    // Drop shadow first.
    for (int i = 3; i >= 1; --i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 28));
        painter.drawRoundedRect(rect.translated(w * 0.012 * i, w * 0.018 * i), radius, radius);
    }
    QLinearGradient face(rect.topLeft(), rect.bottomRight());
    face.setColorAt(0, QColor(255, 255, 252));
    face.setColorAt(1, QColor(236, 232, 222));
    painter.setBrush(face);
    painter.setPen(QPen(QColor(120, 120, 120), std::max(0.6, w * 0.012)));
    painter.drawRoundedRect(rect, radius, radius);

    painter.setPen(ink);
    const QRectF index(rect.left() + w * 0.05, rect.top() + h * 0.03, w * 0.24, h * 0.17);
    painter.setFont(sans(h * 0.15, QFont::Bold));
    painter.drawText(index, Qt::AlignHCenter | Qt::AlignTop, rank);
    painter.setFont(sans(h * 0.12));
    painter.drawText(index.translated(0, h * 0.14), Qt::AlignHCenter | Qt::AlignTop, suit);
    painter.save();
    painter.translate(rect.center());
    painter.rotate(180);
    painter.translate(-rect.center());
    painter.setFont(sans(h * 0.15, QFont::Bold));
    painter.drawText(index, Qt::AlignHCenter | Qt::AlignTop, rank);
    painter.setFont(sans(h * 0.12));
    painter.drawText(index.translated(0, h * 0.14), Qt::AlignHCenter | Qt::AlignTop, suit);
    painter.restore();

    painter.setFont(sans(h * 0.5));
    painter.drawText(rect.adjusted(0, h * 0.02, 0, 0), Qt::AlignCenter, centreFigure);
}

void drawCardAt(QPainter &painter, const QPointF &centre, double width, double angle,
                const QString &rank, const QString &suit, const QString &figure, const QColor &ink)
{
    painter.save();
    painter.translate(centre);
    painter.rotate(angle);
    const double height = width * 1.4;
    drawCard(painter, QRectF(-width / 2, -height / 2, width, height), rank, suit, figure, ink);
    painter.restore();
}

// A casino chip: coloured disc with white edge spots and an inlaid centre.
void drawChip(QPainter &painter, const QPointF &centre, double radius, const QColor &colour)
{
    painter.save();
    painter.translate(centre);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawEllipse(QPointF(radius * 0.05, radius * 0.09), radius, radius);
    QRadialGradient body(QPointF(-radius * 0.3, -radius * 0.3), radius * 1.6);
    body.setColorAt(0, colour.lighter(135));
    body.setColorAt(1, colour.darker(150));
    painter.setBrush(body);
    painter.drawEllipse(QPointF(0, 0), radius, radius);
    painter.setBrush(QColor(250, 246, 236));
    for (int i = 0; i < 6; ++i) {
        painter.save();
        painter.rotate(i * 60.0);
        painter.drawRoundedRect(QRectF(-radius * 0.13, -radius * 0.98, radius * 0.26, radius * 0.26),
                                radius * 0.05, radius * 0.05);
        painter.restore();
    }
    painter.setPen(QPen(QColor(250, 246, 236, 200), radius * 0.04, Qt::DashLine));
    painter.setBrush(colour.darker(115));
    painter.drawEllipse(QPointF(0, 0), radius * 0.6, radius * 0.6);
    painter.restore();
}

// ---------------------------------------------------------------- table

void drawButtonFace(QPainter &painter, const QRect &area, const QString &caption)
{
    const QRectF r = QRectF(area).adjusted(1.5, 1.5, -1.5, -1.5);
    const double radius = 9;
    painter.setPen(Qt::NoPen);
    for (int i = 1; i <= 3; ++i) {
        painter.setBrush(QColor(0, 0, 0, 34));
        painter.drawRoundedRect(r.translated(0.5 * i, 1.0 * i), radius, radius);
    }
    // Gold rim.
    QLinearGradient rim(r.topLeft(), r.bottomLeft());
    rim.setColorAt(0, QColor(250, 226, 150));
    rim.setColorAt(0.5, QColor(196, 152, 64));
    rim.setColorAt(1, QColor(128, 90, 30));
    painter.setBrush(rim);
    painter.drawRoundedRect(r, radius, radius);
    // Burgundy face, lit from above.
    const QRectF face = r.adjusted(2.2, 2.2, -2.2, -2.2);
    QLinearGradient body(face.topLeft(), face.bottomLeft());
    body.setColorAt(0, QColor(164, 40, 52));
    body.setColorAt(0.55, QColor(118, 18, 30));
    body.setColorAt(1, QColor(78, 8, 18));
    painter.setBrush(body);
    painter.drawRoundedRect(face, radius - 2, radius - 2);
    // Gloss on the upper half.
    QLinearGradient gloss(face.topLeft(), QPointF(face.left(), face.center().y()));
    gloss.setColorAt(0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1, QColor(255, 255, 255, 6));
    painter.setBrush(gloss);
    painter.drawRoundedRect(face.adjusted(2, 1.5, -2, -face.height() / 2), radius - 3, radius - 3);
    // Thin inner bevel line.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(60, 4, 10, 160), 1));
    painter.drawRoundedRect(face.adjusted(0.5, 0.5, -0.5, -0.5), radius - 2, radius - 2);

    painter.setFont(sans(15, QFont::Bold));
    drawShadowedText(painter, face, Qt::AlignCenter, caption, QColor(255, 242, 208),
                     QColor(40, 0, 6, 200));
}

// A faint printed outline on the felt, where cards or information lie.
void drawFeltMark(QPainter &painter, const QRectF &area, double radius, int alpha)
{
    painter.setBrush(Qt::NoBrush);
    QColor line = paleGold;
    line.setAlpha(alpha);
    painter.setPen(QPen(line, 1.2));
    painter.drawRoundedRect(area, radius, radius);
}

void drawInfoPanel(QPainter &painter, const QRectF &area)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 42));
    painter.drawRoundedRect(area, 7, 7);
    drawFeltMark(painter, area, 7, 70);
}

void drawCaption(QPainter &painter, const QRect &area, const QString &text)
{
    QFont font = sans(11, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2.0);
    painter.setFont(font);
    drawShadowedText(painter, QRectF(area).translated(1, 0), Qt::AlignCenter, text, paleGold,
                     QColor(0, 20, 8, 170));
}

// The program's table, or a casino table's: its felt has a fifth button,
// Surrender, no player's panel (each hand shows its own total) and a wider
// place for up to four hands, and leaves its foot for the line of its rules,
// which the program prints.
QImage makeTable(bool casino)
{
    using namespace TableLayout;
    const int frame = 20;
    QImage image(pictureWidth, pictureHeight, QImage::Format_RGB32);
    const QRect felt(frame, frame, pictureWidth - 2 * frame, pictureHeight - 2 * frame);
    paintFelt(image, felt, 11);
    paintWoodFrame(image, frame, tableWood, 21);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintInnerShadow(painter, felt, 9);

    // A printed gold line around the playing field.
    drawFeltMark(painter, QRectF(felt).adjusted(7.5, 7.5, -7.5, -7.5), 14, 80);

    // Card places: the deck, the dealer's hand and the player's hand.
    drawFeltMark(painter, QRectF(350.5, 35.5, 77, 105), 7, 55);
    drawFeltMark(painter, QRectF(125.5, 85.5, 159, 95), 8, 55);
    if (casino)
        drawFeltMark(painter, QRectF(30.5, 232.5, 440, 120), 8, 55);
    else
        drawFeltMark(painter, QRectF(50.5, 249.5, 271, 95), 8, 55);

    // Information panels behind the totals and the bank.
    drawInfoPanel(painter, QRectF(dealerCaption.left() + 0.5, dealerCaption.top() - 3.5,
                                  dealerCaption.width() - 1, dealerStake.bottom() - dealerCaption.top() + 7));
    if (!casino)
        drawInfoPanel(painter, QRectF(playerCaption.left() + 0.5, playerCaption.top() - 3.5,
                                      playerCaption.width() - 1, playerStake.bottom() - playerCaption.top() + 7));
    // The bank panel is narrower than its labels so it stays clear of the
    // printed border line; its labels centre their text anyway.
    drawInfoPanel(painter, QRectF(bankCaption.center().x() - 65, bankCaption.top() - 3.5,
                                  130, bank.bottom() - bankCaption.top() + 7));
    drawCaption(painter, dealerCaption, "DEALER");
    if (!casino)
        drawCaption(painter, playerCaption, "PLAYER");
    drawCaption(painter, bankCaption, "BANK");

    // The house rules, printed in an arc across the foot of the felt.
    painter.setFont(dejaVu("DejaVu Serif Condensed", 10, QFont::Bold));
    QColor ink = paleGold;
    ink.setAlpha(150);
    if (!casino)
        drawArcText(painter, QString("BLACKJACK PAYS EVEN MONEY  %1  DEALER STANDS ON ALL 17s").arg(QChar(0x00B7)),
                    QPointF(258, 368), 1800, 1.2, ink);

    // Our name, printed faintly near the head of the table.
    QFont name = serif(22, QFont::Bold);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    painter.setFont(name);
    QColor faint = paleGold;
    faint.setAlpha(70);
    painter.setPen(faint);
    painter.drawText(QRectF(60, 36, 280, 40), Qt::AlignCenter,
                     spadeGlyph + " VANTREL " + spadeGlyph);

    drawButtonFace(painter, hitButton, "Hit");
    drawButtonFace(painter, standButton, "Stand");
    drawButtonFace(painter, doubleButton, "Double");
    drawButtonFace(painter, splitButton, "Split");
    if (casino)
        drawButtonFace(painter, surrenderButton, "Surrender");
    return image;
}

// ---------------------------------------------------------------- banners

enum class Motif { Cards, Chip, Clock, Heart, Chart, Logo };

struct Banner {
    QString headline;
    QString detail;
    QColor top;
    QColor bottom;
    QColor accent;
    Motif motif;
    QString leftRank = QString();
    QString rightRank = QString();
};

void drawClock(QPainter &painter, const QPointF &centre, double radius, const QColor &accent)
{
    painter.setPen(QPen(accent, radius * 0.14));
    painter.setBrush(QColor(255, 255, 255, 235));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(QColor(40, 40, 50), radius * 0.08));
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        const double inner = i % 3 == 0 ? 0.72 : 0.8;
        painter.drawLine(centre + QPointF(std::sin(a), -std::cos(a)) * radius * inner,
                         centre + QPointF(std::sin(a), -std::cos(a)) * radius * 0.88);
    }
    painter.setPen(QPen(QColor(30, 30, 40), radius * 0.12, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, centre + QPointF(0, -radius * 0.55));
    painter.drawLine(centre, centre + QPointF(radius * 0.42, radius * 0.12));
    painter.setBrush(accent);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(centre, radius * 0.1, radius * 0.1);
}

void drawHeart(QPainter &painter, const QPointF &centre, double size, const QColor &accent)
{
    painter.setFont(sans(size));
    painter.setPen(QColor(0, 0, 0, 80));
    painter.drawText(QRectF(centre.x() - size, centre.y() - size + 2, 2 * size, 2 * size),
                     Qt::AlignCenter, heartGlyph);
    painter.setPen(accent);
    painter.drawText(QRectF(centre.x() - size, centre.y() - size, 2 * size, 2 * size),
                     Qt::AlignCenter, heartGlyph);
}

// A tiny strategy chart: a grid of coloured cells like the tutor's window.
void drawChartMotif(QPainter &painter, const QRectF &area)
{
    const QColor hit(214, 64, 64), stand(236, 200, 70), dbl(70, 150, 220), split(90, 180, 100);
    const char *rows[] = {"hhhdddhhhh", "hsssssshhh", "sssssshhhh", "pppppphhhh", "ssssssssss"};
    const double cell = area.width() / 10.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRoundedRect(area.adjusted(-3, -3, 3, 3), 4, 4);
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 10; ++c) {
            const char code = rows[r][c];
            painter.setBrush(code == 'h' ? hit : code == 's' ? stand : code == 'd' ? dbl : split);
            painter.drawRect(QRectF(area.left() + c * cell + 0.5, area.top() + r * cell + 0.5,
                                    cell - 1, cell - 1));
        }
    }
}

void drawMotif(QPainter &painter, const Banner &banner)
{
    const QPointF centre(40, 30);
    switch (banner.motif) {
    case Motif::Cards:
        drawCardAt(painter, centre + QPointF(-10, 2), 32, -12, banner.leftRank, spadeGlyph, spadeGlyph, cardBlack);
        drawCardAt(painter, centre + QPointF(10, 0), 32, 10, banner.rightRank, heartGlyph, heartGlyph, cardRed);
        break;
    case Motif::Chip:
        drawChip(painter, centre + QPointF(-6, 3), 19, QColor(176, 26, 40));
        drawChip(painter, centre + QPointF(8, -3), 19, QColor(30, 30, 36));
        break;
    case Motif::Clock:
        drawClock(painter, centre, 21, banner.accent);
        break;
    case Motif::Heart:
        drawHeart(painter, centre, 40, banner.accent);
        break;
    case Motif::Chart:
        drawChartMotif(painter, QRectF(16, 18, 50, 25));
        break;
    case Motif::Logo:
        drawChip(painter, centre + QPointF(6, 8), 17, QColor(160, 24, 36));
        drawCardAt(painter, centre + QPointF(-4, -1), 30, -14, "A", spadeGlyph, spadeGlyph, cardBlack);
        break;
    }
}

QImage makeBanner(const Banner &banner)
{
    using namespace TableLayout;
    QImage image(bannerWidth, bannerHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient background(0, 0, 0, bannerHeight);
    background.setColorAt(0, banner.top);
    background.setColorAt(1, banner.bottom);
    painter.fillRect(image.rect(), background);
    // Soft diagonal sheen for depth.
    QLinearGradient sheen(0, 0, bannerWidth, bannerHeight);
    sheen.setColorAt(0, QColor(255, 255, 255, 40));
    sheen.setColorAt(0.45, QColor(255, 255, 255, 0));
    painter.fillRect(image.rect(), sheen);
    // Accent bar and frame.
    painter.fillRect(QRect(0, bannerHeight - 4, bannerWidth, 4), banner.accent);
    painter.setPen(QPen(QColor(255, 255, 255, 60), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.5, 0.5, bannerWidth - 1, bannerHeight - 1));

    drawMotif(painter, banner);

    const QRectF text(84, 5, bannerWidth - 96, bannerHeight - 10);
    QFont headline = sans(18, QFont::Bold);
    QFontMetricsF metrics(headline);
    while (metrics.horizontalAdvance(banner.headline) > text.width() && headline.pixelSize() > 12) {
        headline.setPixelSize(headline.pixelSize() - 1);
        metrics = QFontMetricsF(headline);
    }
    painter.setFont(headline);
    drawShadowedText(painter, QRectF(text.left(), text.top(), text.width(), 28),
                     Qt::AlignLeft | Qt::AlignVCenter, banner.headline, Qt::white, QColor(0, 0, 0, 110));
    QFont detail = sans(12);
    QFontMetricsF detailMetrics(detail);
    while (detailMetrics.horizontalAdvance(banner.detail) > text.width() && detail.pixelSize() > 9) {
        detail.setPixelSize(detail.pixelSize() - 1);
        detailMetrics = QFontMetricsF(detail);
    }
    painter.setFont(detail);
    drawShadowedText(painter, QRectF(text.left(), text.top() + 28, text.width(), 20),
                     Qt::AlignLeft | Qt::AlignVCenter, banner.detail, QColor(255, 246, 225),
                     QColor(0, 0, 0, 90));
    return image;
}

std::vector<Banner> rotatingBanners()
{
    const QString dash = QString(QChar(0x2014));
    const QString arrow = QString(QChar(0x25B8));
    return {
        {"Always split aces and eights", "Two aces or two eights? Split them, every time.",
         QColor(20, 48, 110), QColor(8, 22, 60), QColor(236, 190, 70), Motif::Cards, "A", "8"},
        {"Set a limit before you play", "Decide what you can afford to lose " + dash + " and stop there.",
         QColor(0, 110, 112), QColor(0, 58, 64), QColor(255, 210, 120), Motif::Chip},
        {"Never take insurance", "A side bet that favours the house in the long run.",
         QColor(128, 24, 40), QColor(64, 8, 18), QColor(240, 196, 96), Motif::Cards, "A", "K"},
        {"Stand on hard 17 and above", "One more card is far more likely to bust than to help.",
         QColor(32, 112, 58), QColor(10, 56, 28), QColor(240, 220, 140), Motif::Cards, "10", "7"},
        {"Vantrel " + dash + " the strategy trainer", "Practise the right play until it becomes a habit.",
         QColor(70, 40, 120), QColor(30, 14, 64), QColor(230, 180, 80), Motif::Logo},
        {"Know when to double", "11 against a low dealer card? Double for one card.",
         QColor(196, 96, 20), QColor(120, 44, 8), QColor(255, 230, 150), Motif::Cards, "5", "6"},
        {"Gambling is not a way to make money", "Over time the house edge wins. Play for fun only.",
         QColor(50, 60, 72), QColor(20, 26, 34), QColor(120, 200, 220), Motif::Heart},
        {"Never split tens or fives", "Twenty is a winner; ten is a hand to double.",
         QColor(16, 90, 140), QColor(6, 42, 76), QColor(250, 200, 90), Motif::Cards, "10", "10"},
        {"Take breaks", "Step away now and then. A clear head plays better.",
         QColor(36, 120, 100), QColor(12, 62, 50), QColor(250, 180, 90), Motif::Clock},
        {"Stand on 13 to 16 against a 2 to 6", "Let the dealer take the risk of busting.",
         QColor(150, 30, 80), QColor(76, 10, 40), QColor(250, 210, 120), Motif::Cards, "9", "5"},
        {"Open the Strategy Chart", "Game " + arrow + " Strategy Chart: the best play for every hand.",
         QColor(40, 70, 150), QColor(14, 30, 80), QColor(120, 210, 250), Motif::Chart},
        {"Hit 12 to 16 against a 7 or higher", "The dealer will often make 17 or better.",
         QColor(90, 54, 30), QColor(44, 22, 10), QColor(240, 190, 90), Motif::Cards, "K", "4"},
        {"Never chase your losses", "A loss is the price of play, not a debt to win back.",
         QColor(96, 30, 120), QColor(44, 10, 60), QColor(250, 150, 170), Motif::Heart},
        {"Soft hands are chances", "Ace-six can never bust with one more card.",
         QColor(0, 96, 140), QColor(0, 44, 70), QColor(250, 220, 120), Motif::Cards, "A", "6"},
        {"Vantrel " + dash + " learn the right play", "Thank you for practising. Good hands and good habits!",
         QColor(24, 90, 50), QColor(8, 40, 22), QColor(236, 198, 100), Motif::Logo},
    };
}

Banner startingBanner()
{
    return {"Vantrel " + QString(QChar(0x2014)) + " learn the right play",
            "Click the deck to deal. The tutor shows you the best play.",
            QColor(18, 96, 52), QColor(6, 46, 24), QColor(226, 190, 100), Motif::Logo};
}

// ---------------------------------------------------------------- splash and icon

QImage makeSplash()
{
    const int size = 125;
    QImage image(size, size, QImage::Format_RGB32);
    paintFelt(image, image.rect(), 31);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // Gold frame.
    painter.setPen(QPen(QColor(196, 156, 70), 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(1.5, 1.5, size - 3, size - 3));
    painter.setPen(QPen(QColor(240, 214, 140, 160), 1));
    painter.drawRect(QRectF(5.5, 5.5, size - 11, size - 11));

    // Fanned from a pivot below the cards, the king behind the ace.
    const QPointF pivot(62.5, 121);
    const double reach = 38;
    for (const double angle : {-20.0, 20.0}) {
        const double a = qDegreesToRadians(angle);
        const QPointF centre = pivot + QPointF(std::sin(a), -std::cos(a)) * reach;
        if (angle < 0)
            drawCardAt(painter, centre, 39, angle, "K", heartGlyph, kingGlyph, cardRed);
        else
            drawCardAt(painter, centre, 39, angle, "A", spadeGlyph, spadeGlyph, cardBlack);
    }

    QFont title = serif(21, QFont::Bold);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    painter.setFont(title);
    drawShadowedText(painter, QRectF(0, 8, size, 28), Qt::AlignCenter, "Vantrel",
                     QColor(246, 218, 130), QColor(0, 0, 0, 170));
    return image;
}

// The icon is drawn on a 256-unit canvas and scaled, so every size comes
// from the same vector drawing.
QImage makeIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(size / 256.0, size / 256.0);
    drawChip(painter, QPointF(170, 176), 66, QColor(172, 22, 38));
    drawCardAt(painter, QPointF(108, 114), 134, -14, "A", spadeGlyph, spadeGlyph, cardBlack);
    return image;
}

bool save(const QImage &image, const QString &path, int quality = -1)
{
    if (image.save(path, nullptr, quality))
        return true;
    QTextStream(stderr) << "cannot write " << path << "\n";
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // Pictures only, never a window: no display needed, and the same pixels wherever it runs.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ToolCommandLine commandLine(QStringLiteral("Paints the table, border strips, banners, splash and icon."));
    commandLine.parser.addPositionalArgument(QStringLiteral("pics"), QStringLiteral("Folder for the pictures."));
    commandLine.parser.addPositionalArgument(QStringLiteral("banners"),
                                             QStringLiteral("Folder for the banner PNGs (make_banners.sh makes GIFs)."));
    if (const int status = commandLine.parse(2, 2); status >= 0)
        return status;
    const QDir pics(commandLine.parser.positionalArguments()[0]);
    const QDir bannerPngs(commandLine.parser.positionalArguments()[1]);
    QDir().mkpath(pics.path());
    QDir().mkpath(bannerPngs.path());

    using namespace TableLayout;
    bool ok = save(makeTable(false), pics.filePath("bjwood.jpg"), 92);
    ok &= save(makeTable(true), pics.filePath("casino.jpg"), 92);
    ok &= save(woodStrip(pictureWidth, borderThickness, railWood, 41), pics.filePath("border-top.png"));
    ok &= save(woodStrip(pictureWidth, borderThickness, railWood, 42), pics.filePath("border-bottom.png"));
    // The side rails run the client area's full height: the table, the
    // bottom rail below it and the status bar with its own rail.
    const int sideLength = pictureHeight + 1 + 2 * borderThickness + statusBarHeight;
    ok &= save(woodStrip(borderThickness, sideLength, railWood, 43), pics.filePath("border-left.png"));
    ok &= save(woodStrip(borderThickness, sideLength, railWood, 44), pics.filePath("border-right.png"));
    ok &= save(makeBanner(startingBanner()), pics.filePath("banner0.png"));
    const std::vector<Banner> banners = rotatingBanners();
    for (size_t i = 0; i < banners.size(); ++i)
        ok &= save(makeBanner(banners[i]), bannerPngs.filePath(QString("%1.png").arg(i + 1)));
    ok &= save(makeSplash(), pics.filePath("splash.png"));
    ok &= save(makeIcon(256), pics.filePath("vantrel.png"));
    ok &= save(makeIcon(48), pics.filePath("vantrel-48.png"));
    return ok ? 0 : 1;
}
