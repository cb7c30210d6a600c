#include "TrendPlot.h"
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {
const QColor accuracyColour(0, 128, 0);
const QColor costColour(200, 0, 0);
}

TrendPlot::TrendPlot(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("trendPlot"));
}

void TrendPlot::setStatistics(const HistoryStatistics *statistics)
{
    stats = statistics;
    update();
}

QSize TrendPlot::sizeHint() const
{
    return {fontMetrics().horizontalAdvance(QLatin1Char('0')) * 50, fontMetrics().height() * 12};
}

QSize TrendPlot::minimumSizeHint() const
{
    return {fontMetrics().horizontalAdvance(QLatin1Char('0')) * 40, fontMetrics().height() * 7};
}

QString TrendPlot::sessionsText(std::size_t shown)
{
    if (shown == 0)
        return QStringLiteral("No sessions recorded yet");
    return shown == 1 ? QStringLiteral("The last session") : QStringLiteral("The last %1 sessions").arg(shown);
}

void TrendPlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    const QFontMetrics metrics = fontMetrics();
    const int margin = metrics.horizontalAdvance(QStringLiteral("100 %")) + 6;
    const QRect area = rect().adjusted(margin, metrics.height() + 4, -margin, -metrics.height() - 4);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(area);

    painter.setPen(accuracyColour);
    const QRect titles(0, 0, width(), metrics.height() + 2);
    painter.drawText(titles, Qt::AlignLeft, QStringLiteral("Accuracy"));
    painter.setPen(costColour);
    painter.drawText(titles, Qt::AlignRight, QStringLiteral("Chips lost per 100 decisions"));

    std::vector<HistoryStatistics::Session> shown;
    if (stats)
        shown.assign(stats->sessions.end() - std::min<std::ptrdiff_t>(stats->sessions.size(), shownSessions),
                     stats->sessions.end());
    painter.setPen(Qt::black);
    painter.drawText(QRect(area.left(), area.bottom() + 2, area.width(), metrics.height() + 2), Qt::AlignCenter,
                     sessionsText(shown.size()));
    if (shown.empty())
        return;

    double highestCost = 1.0;
    for (const auto &session : shown)
        highestCost = std::max(highestCost, 100.0 * session.tally.cost / std::max(1, session.tally.decisions));
    highestCost = std::ceil(highestCost);
    painter.setPen(accuracyColour);
    painter.drawText(QRect(0, area.top() - metrics.height() / 2, margin - 4, metrics.height()), Qt::AlignRight,
                     QStringLiteral("100 %"));
    painter.drawText(QRect(0, area.bottom() - metrics.height() / 2, margin - 4, metrics.height()), Qt::AlignRight,
                     QStringLiteral("0 %"));
    painter.setPen(costColour);
    painter.drawText(QRect(area.right() + 4, area.top() - metrics.height() / 2, margin, metrics.height()),
                     Qt::AlignLeft, QString::number(highestCost, 'f', 0));
    painter.drawText(QRect(area.right() + 4, area.bottom() - metrics.height() / 2, margin, metrics.height()),
                     Qt::AlignLeft, QStringLiteral("0"));

    const auto x = [&](std::size_t i) {
        return shown.size() == 1 ? area.center().x()
                                 : area.left() + double(area.width()) * i / double(shown.size() - 1);
    };
    QPainterPath accuracy, cost;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const auto &tally = shown[i].tally;
        const QPointF a(x(i), area.bottom() - area.height() * tally.accuracy());
        const QPointF c(x(i), area.bottom() - area.height() * (100.0 * tally.cost / std::max(1, tally.decisions))
                                                  / highestCost);
        if (i == 0) {
            accuracy.moveTo(a);
            cost.moveTo(c);
        } else {
            accuracy.lineTo(a);
            cost.lineTo(c);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(accuracyColour);
        painter.drawEllipse(a, 3, 3);
        painter.setBrush(costColour);
        painter.drawEllipse(c, 3, 3);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(accuracyColour, 2));
    painter.drawPath(accuracy);
    painter.setPen(QPen(costColour, 2));
    painter.drawPath(cost);
}
