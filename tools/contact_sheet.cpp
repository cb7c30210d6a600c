// Writes a contact sheet of every card the card library draws: the 52 faces
// (one row per suit), the 13 backs with their names, and a few highlighted
// faces, on green felt. Usage: contact_sheet <out.png> [device pixel ratio]
#include "CardLibrary.h"
#include "ToolCommandLine.h"
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>
#include <QStringList>
#include <cstdio>

namespace {
const QStringList backNames{"Hatch", "Plaid", "Weave", "Robot", "Roses", "IvyBlack", "IvyBlue",
                            "FishCyan", "FishBlue", "Shell", "Castle", "Beach", "Sleeve"};
constexpr int margin = 12;
constexpr int gap = 8;
constexpr int labelHeight = 16;
}

int main(int argc, char *argv[])
{
    // Pictures only, never a window: no display needed, and the same pixels wherever it runs.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ToolCommandLine commandLine(QStringLiteral("Draws every card face and back of the card library into one picture."));
    commandLine.parser.addPositionalArgument(QStringLiteral("out.png"), QStringLiteral("The picture to write."));
    commandLine.parser.addPositionalArgument(QStringLiteral("ratio"),
                                             QStringLiteral("Device pixel ratio to draw at (default 1)."),
                                             QStringLiteral("[ratio]"));
    if (const int status = commandLine.parse(1, 2); status >= 0)
        return status;
    const QStringList arguments = commandLine.parser.positionalArguments();
    const qreal ratio = arguments.size() > 1 ? arguments[1].toDouble() : 1.0;
    if (ratio <= 0)
        return commandLine.fail(QStringLiteral("the device pixel ratio must be a positive number"));

    int cardWidth = 0;
    int cardHeight = 0;
    cdtInit(cardWidth, cardHeight);
    const int columns = 13;
    const int stepX = cardWidth + gap;
    const int stepY = cardHeight + gap;
    const int width = 2 * margin + columns * stepX - gap;
    const int height = 2 * margin + 6 * stepY + labelHeight;

    QImage sheet(qRound(width * ratio), qRound(height * ratio), QImage::Format_RGB32);
    sheet.setDevicePixelRatio(ratio);
    QPainter painter(&sheet);
    QRadialGradient felt(width / 2.0, height / 2.0, width * 0.7);
    felt.setColorAt(0, QColor(30, 120, 60));
    felt.setColorAt(1, QColor(12, 70, 35));
    painter.fillRect(QRectF(0, 0, width, height), felt);

    for (int suit = 0; suit < 4; ++suit)
        for (int rank = 1; rank <= 13; ++rank)
            cdtDraw(painter, margin + (rank - 1) * stepX, margin + suit * stepY, (rank - 1) * 4 + suit, 0, 0xFFFFFF);

    const int backTop = margin + 4 * stepY;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(Qt::white);
    for (int design = 0; design < backNames.size(); ++design) {
        const int left = margin + design * stepX;
        cdtDraw(painter, left, backTop, CardLibrary::firstBackDesign + design, 1, 0xFFFFFF);
        painter.drawText(QRect(left - gap / 2, backTop + cardHeight + 1, stepX, labelHeight), Qt::AlignCenter,
                         backNames[design]);
    }

    const int highlightTop = backTop + stepY + labelHeight;
    const int highlighted[] = {0, 9, 22, 35, 40, 47, 51};
    int slot = 0;
    for (const int code : highlighted)
        cdtDraw(painter, margin + slot++ * stepX, highlightTop, code, 2, 0xFFFFFF);
    // The losing-hand overlay as the table lays it: the hatch over a face,
    // its white pixels see-through.
    QImage hatch(qRound(cardWidth * ratio), qRound(cardHeight * ratio), QImage::Format_ARGB32);
    hatch.setDevicePixelRatio(ratio);
    hatch.fill(Qt::white);
    cdtDraw(&hatch, 0, 0, CardLibrary::hatchDesign, 1, 0xFFFFFF);
    for (int y = 0; y < hatch.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(hatch.scanLine(y));
        for (int x = 0; x < hatch.width(); ++x)
            if (line[x] == 0xFFFFFFFFu)
                line[x] = 0;
    }
    for (const int code : {12, 50}) {
        const QPoint at(margin + slot++ * stepX, highlightTop);
        cdtDraw(painter, at.x(), at.y(), code, 0, 0xFFFFFF);
        painter.drawImage(at, hatch);
    }
    painter.end();

    cdtTerm();
    if (!sheet.save(arguments[0])) {
        std::fprintf(stderr, "contact_sheet: cannot write %s\n", qPrintable(arguments[0]));
        return 1;
    }
    return 0;
}
