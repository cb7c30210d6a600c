#pragma once
#include "HistoryStatistics.h"
#include <QWidget>

// Accuracy (green, left scale 0..100 %) and chips lost per 100 decisions
// (red, right scale) for each session, oldest on the left.
class TrendPlot : public QWidget {
    Q_OBJECT
public:
    static constexpr int shownSessions = 50;
    explicit TrendPlot(QWidget *parent = nullptr);
    void setStatistics(const HistoryStatistics *statistics);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The caption under the plot for that many sessions shown.
    static QString sessionsText(std::size_t shown);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const HistoryStatistics *stats = nullptr;
};
