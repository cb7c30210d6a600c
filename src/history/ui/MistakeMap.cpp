#include "MistakeMap.h"
#include "CountText.h"
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace {
constexpr QRgb headerBackground = 0xE0E0E0; // as the strategy window's hand column

QString actionName(char code)
{
    switch (code) {
    case 'h': return QStringLiteral("Hit");
    case 's': return QStringLiteral("Stand");
    case 'd': return QStringLiteral("Double");
    case 'p': return QStringLiteral("Split");
    case 'r': return QStringLiteral("Surrender");
    default: return QString();
    }
}
}

MistakeMap::MistakeMap(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("mistakeMap"));
    setMouseTracking(true);
}

void MistakeMap::setStatistics(const HistoryStatistics *statistics)
{
    stats = statistics;
    highest = 0.0;
    updateGeometry(); // a casino table's chart has more rows
    if (stats)
        for (const HistoryStatistics::Cell &cell : stats->cells)
            highest = std::max(highest, cell.tally.cost);
    update();
}

int MistakeMap::labelWidth() const
{
    return fontMetrics().horizontalAdvance(QStringLiteral("H17-20")) + 8;
}

int MistakeMap::cellWidth() const
{
    return fontMetrics().horizontalAdvance(QStringLiteral("00.0")) + 8;
}

int MistakeMap::cellHeight() const
{
    return fontMetrics().height() + 2;
}

QSize MistakeMap::sizeHint() const
{
    return {labelWidth() + cellWidth() * 10 + 1, cellHeight() * (rows().count() + 1) + 1};
}

QRect MistakeMap::cellRect(const ChartCell &cell) const
{
    return {labelWidth() + cell.column * cellWidth(), (cell.row + 1) * cellHeight(), cellWidth(), cellHeight()};
}

ChartCell MistakeMap::cellAt(const QPoint &point) const
{
    const int x = point.x() - labelWidth();
    const int column = x / cellWidth();
    const int row = point.y() / cellHeight() - 1;
    if (x < 0 || point.y() < 0 || column >= 10 || row < 0 || row >= rows().count())
        return {};
    return {row, column};
}

QColor MistakeMap::colourFor(double cost, double highest)
{
    if (cost <= 0.0 || highest <= 0.0)
        return Qt::white;
    // Yellow for a small loss, red for the largest.
    const double share = std::clamp(cost / highest, 0.0, 1.0);
    return QColor::fromRgbF(1.0f, float(0.95 - 0.85 * share), float(0.6 - 0.6 * share));
}

QString MistakeMap::describe(const ChartCell &cell) const
{
    if (!stats || !cell.isValid())
        return QString();
    const HistoryStatistics::Cell &at = stats->cell(cell);
    QString text = QStringLiteral("%1: %2, %3, %4 chips lost")
                       .arg(rows().cellName(cell), CountText::of(at.tally.decisions, QStringLiteral("decision"), QStringLiteral("decisions")),
                            CountText::of(at.tally.mistakes, QStringLiteral("mistake"), QStringLiteral("mistakes")))
                       .arg(at.tally.cost, 0, 'f', 1);
    if (at.tally.offChart)
        text += QStringLiteral(", %1 off-chart, better here").arg(at.tally.offChart);
    if (at.commonestWrong)
        text += QStringLiteral(", most often wrong: ") + actionName(at.commonestWrong);
    return text;
}

void MistakeMap::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int label = labelWidth(), w = cellWidth(), h = cellHeight();
    const int right = label + w * 10;
    const ChartRows chart = rows();
    const int bottom = h * (chart.count() + 1);
    painter.fillRect(QRect(0, 0, right, h), QColor(headerBackground));
    painter.fillRect(QRect(0, 0, label, bottom), QColor(headerBackground));
    painter.setPen(Qt::black);
    for (int column = 0; column < 10; ++column)
        painter.drawText(cellRect({-1, column}), Qt::AlignCenter, ChartCell::columnName(column));
    for (int row = 0; row < chart.count(); ++row) {
        painter.drawText(QRect(0, (row + 1) * h, label, h), Qt::AlignCenter, chart.label(row));
        for (int column = 0; column < 10; ++column) {
            const QRect rect = cellRect({row, column});
            const double cost = stats ? stats->cells[row * 10 + column].tally.cost : 0.0;
            painter.fillRect(rect, colourFor(cost, highest));
            if (cost >= 0.05)
                painter.drawText(rect, Qt::AlignCenter, QString::number(cost, 'f', cost < 100 ? 1 : 0));
        }
    }
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(0, 0, 0, bottom);
    for (int i = 0; i <= 10; ++i)
        painter.drawLine(label + i * w, 0, label + i * w, bottom);
    for (int i = 0; i <= chart.count() + 1; ++i)
        painter.drawLine(0, i * h, right, i * h);
}

void MistakeMap::mousePressEvent(QMouseEvent *event)
{
    const ChartCell cell = cellAt(event->position().toPoint());
    if (cell.isValid())
        Q_EMIT cellClicked(cell);
}

bool MistakeMap::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString text = describe(cellAt(help->pos()));
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}
