#include "StrategyWindow.h"
#include "ScreenPlacement.h"
#include "StrategyChart.h"
#include "Twips.h"
#include <algorithm>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>

namespace {
// The chart's layout in twips.
constexpr int rowHeight = 300;
constexpr int firstRowTop = -15;
constexpr int handWidth = 600;
constexpr int adviceWidth = 2835;
// Advice too long for one line at the smallest font (a casino chart's) is
// wrapped in a column this wide, each row as tall as its lines.
constexpr int wrappedAdviceWidth = 2 * adviceWidth;
constexpr int wrappedRowPadding = 4; // pixels: air above and below a row of several lines
constexpr int rowsHeight = firstRowTop + StrategyWindow::lineCount * rowHeight;
constexpr QRgb handBackground = 0xE0E0E0;
constexpr int smallestFontPixels = 9;

void setColours(QLabel *label, const QColor &text, const QColor &background)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, background);
    label->setPalette(palette);
}
}

StrategyWindow::StrategyWindow(const StrategyChart &chart, Preferences &prefs, QWidget *parent)
    : QWidget(parent, Qt::Tool), chart(&chart), prefs(prefs)
{
    setObjectName(QStringLiteral("frmStrings"));
    setWindowTitle(QStringLiteral("Blackjack Strategy"));
    // It only shows: opening it leaves the keyboard with the table.
    setAttribute(Qt::WA_ShowWithoutActivating);

    const QScreen *where = screen();
    const auto px = [where](int twips) { return Twips::toPixels(twips, where); };

    for (int i = 0; i < lineCount; ++i) {
        const int top = px(rowHeight * i + firstRowTop);
        const int height = px(rowHeight * (i + 1) + firstRowTop) - top;

        lblPlayerHand[i] = new QLabel(this);
        lblPlayerHand[i]->setObjectName(QStringLiteral("lblPlayerHand_%1").arg(i));
        lblPlayerHand[i]->setGeometry(0, top, px(handWidth), height);
        lblPlayerHand[i]->setAlignment(Qt::AlignCenter);
        lblPlayerHand[i]->setAutoFillBackground(true);
        setColours(lblPlayerHand[i], Qt::black, QColor(handBackground));

        lblAction[i] = new QLabel(this);
        lblAction[i]->setObjectName(QStringLiteral("lblAction_%1").arg(i));
        lblAction[i]->setGeometry(px(handWidth), top, px(handWidth + adviceWidth) - px(handWidth), height);
        lblAction[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        lblAction[i]->setAutoFillBackground(true);
        setColours(lblAction[i], Qt::black, Qt::white);
    }

    lblOdds = new QLabel(this);
    lblOdds->setObjectName(QStringLiteral("lblOdds"));
    lblOdds->setGeometry(0, px(rowsHeight), px(handWidth + adviceWidth), px(rowHeight));
    lblOdds->setAlignment(Qt::AlignCenter);
    lblOdds->setWordWrap(true);
    lblOdds->hide();
    rowsBottom = px(rowsHeight);
    fitWindowToRows();
}

void StrategyWindow::fitWindowToRows()
{
    const QScreen *where = screen();
    // The odds take as many rows as their wrapped lines need: a pair's four
    // figures with a stopped choice's cost, or a note on the exact cards,
    // take more than one.
    const int rowPixels = Twips::toPixels(rowHeight, where);
    const int oddsRows = qMax(1, (lblOdds->heightForWidth(lblOdds->width()) + rowPixels - 1) / rowPixels);
    const int oddsHeight = Twips::toPixels(rowsHeight + oddsRows * rowHeight, where) - Twips::toPixels(rowsHeight, where);
    lblOdds->setGeometry(0, rowsBottom, lblOdds->width(), oddsHeight);
    setFixedSize(lblOdds->width(), rowsBottom + (lblOdds->isHidden() ? 0 : oddsHeight));
}

QPoint StrategyWindow::loadPosition() const
{
    const QScreen *where = screen();
    const QRect available = where ? where->availableGeometry() : QRect(0, 0, 1024, 768);
    // Beside the table while it is up; alone, against the screen's right edge.
    const QWidget *table = parentWidget();
    const QPoint defaultPlace = table && table->isVisible()
        ? ScreenPlacement::beside(table->frameGeometry(), frameGeometry().size(), available)
        : QPoint(available.right() + 1 - frameGeometry().width(), available.top());
    return ScreenPlacement::fromStored(prefs.prfChartX, prefs.prfChartY, frameGeometry().width(), defaultPlace, where);
}

std::optional<QFont> StrategyWindow::fittingFont(std::optional<int> adviceWidthPixels) const
{
    // The columns are narrow for the chart's longer advice, so the text
    // shrinks until every caption fits, starting from a size that leaves a
    // little air above and below in the row, and stopping where it would
    // become hard to read.
    const int rowPixels = Twips::toPixels(rowHeight, screen());
    const int handPixels = Twips::toPixels(handWidth, screen());
    const int largest = qMax(smallestFontPixels, rowPixels * 3 / 5);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStretch(QFont::Condensed);
    for (int pixels = largest; pixels >= smallestFontPixels; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        const auto fitsIn = [&metrics](int width) {
            return [&metrics, width](const QLabel *label) { return metrics.horizontalAdvance(label->text()) <= width; };
        };
        if (std::all_of(lblPlayerHand.begin(), lblPlayerHand.end(), fitsIn(handPixels))
            && (!adviceWidthPixels || std::all_of(lblAction.begin(), lblAction.end(), fitsIn(*adviceWidthPixels))))
            return font;
    }
    return std::nullopt;
}

void StrategyWindow::layOutLines()
{
    const QScreen *where = screen();
    const auto px = [where](int twips) { return Twips::toPixels(twips, where); };
    std::optional<QFont> font = fittingFont(px(handWidth + adviceWidth) - px(handWidth));
    const bool wrapped = !font;
    if (wrapped) {
        font = fittingFont(std::nullopt);
        if (!font) {
            font = QFont(QStringLiteral("DejaVu Sans"));
            font->setStretch(QFont::Condensed);
            font->setPixelSize(smallestFontPixels);
        }
    }
    setFont(*font);
    const int adviceLeft = px(handWidth);
    const int width = px(handWidth + (wrapped ? wrappedAdviceWidth : adviceWidth));
    // Wrapped lines keep off the hand column as the first line's leading space does.
    const int indent = wrapped ? QFontMetrics(*font).horizontalAdvance(QLatin1Char(' ')) : -1;
    int top = px(firstRowTop);
    for (int i = 0; i < lineCount; ++i) {
        lblAction[i]->setWordWrap(wrapped);
        lblAction[i]->setIndent(indent);
        int height = px(rowHeight * (i + 1) + firstRowTop) - px(rowHeight * i + firstRowTop);
        if (wrapped)
            height = qMax(height, lblAction[i]->heightForWidth(width - adviceLeft) + wrappedRowPadding);
        lblPlayerHand[i]->setGeometry(0, top, adviceLeft, height);
        lblAction[i]->setGeometry(adviceLeft, top, width - adviceLeft, height);
        top += height;
    }
    rowsBottom = top;
    lblOdds->resize(width, lblOdds->height());
    fitWindowToRows();
}

void StrategyWindow::Form_Load()
{
    move(loadPosition());
    for (QLabel *advice : lblAction)
        setColours(advice, Qt::black, Qt::white);
    fillLines();
    loaded = true;
    placeWhenShown = true;
}

void StrategyWindow::fillLines()
{
    for (int i = 0; i < lineCount; ++i) {
        lblAction[i]->setText(QLatin1Char(' ') + chart->chartStrings[i][1]);
        lblPlayerHand[i]->setText(chart->chartStrings[i][0].trimmed());
    }
    layOutLines();
}

void StrategyWindow::setChart(const StrategyChart &shown)
{
    chart = &shown;
    if (!loaded)
        return;
    fillLines();
    // Another table's lines can make the open window wider or taller.
    if (isVisible() && screen())
        move(ScreenPlacement::keptInside(frameGeometry(), screen()->availableGeometry()));
}

void StrategyWindow::ensureLoaded()
{
    if (!loaded)
        Form_Load();
}

void StrategyWindow::ShowStrategy(int16_t line)
{
    if (line < 0 || line >= lineCount)
        return;
    ensureLoaded();
    for (QLabel *advice : lblAction)
        setColours(advice, Qt::black, Qt::white);
    setColours(lblAction[line], Qt::white, Qt::black);
}

int16_t StrategyWindow::highlightedLine() const
{
    for (int line = 0; line < lineCount; ++line) {
        if (lblAction[line]->palette().color(QPalette::Window) == QColor(Qt::black))
            return static_cast<int16_t>(line);
    }
    return -1;
}

void StrategyWindow::showWindow()
{
    ensureLoaded();
    show();
    raise();
}

std::optional<Preferences::WindowPosition> StrategyWindow::position() const
{
    if (isMinimized() || isMaximized())
        return std::nullopt;
    const QPoint topLeft = loaded ? pos() : loadPosition();
    const QScreen *where = screen();
    return Preferences::WindowPosition{Twips::fromPixels(topLeft.x(), where),
                                       Twips::fromPixels(topLeft.y(), where)};
}

void StrategyWindow::setOdds(const QString &text)
{
    lblOdds->setText(text);
    lblOdds->setVisible(!text.isEmpty());
    fitWindowToRows();
}

void StrategyWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The frame's width is known only once the window is on screen, and the
    // default place keeps the whole frame inside the screen's right edge.
    if (placeWhenShown) {
        placeWhenShown = false;
        move(loadPosition());
    }
}

void StrategyWindow::closeEvent(QCloseEvent *event)
{
    loaded = false;
    event->accept();
}
