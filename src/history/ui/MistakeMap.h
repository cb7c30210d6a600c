#pragma once
#include "ChartCell.h"
#include "HistoryStatistics.h"
#include <QWidget>

// The rows of the table's chart (28 at the program's, 30 at a casino's) by
// 10 up-cards, each cell coloured by the chips lost there: white for none,
// through yellow to red for the costliest cell.
class MistakeMap : public QWidget {
    Q_OBJECT
public:
    explicit MistakeMap(QWidget *parent = nullptr);
    void setStatistics(const HistoryStatistics *statistics);
    // The cell under a point of the widget; invalid outside the grid.
    ChartCell cellAt(const QPoint &point) const;
    QRect cellRect(const ChartCell &cell) const;
    // "soft 17 v 3: 12 decisions, 4 mistakes, 6.3 chips lost, most often wrong: Stand"
    QString describe(const ChartCell &cell) const;
    // The cell's colour, from its share of the costliest cell's loss.
    static QColor colourFor(double cost, double highest);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void cellClicked(const ChartCell &cell);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    int labelWidth() const;
    int cellWidth() const;
    int cellHeight() const;
    ChartRows rows() const { return stats ? stats->rows : ChartRows::program(); }
    const HistoryStatistics *stats = nullptr;
    double highest = 0.0;
};
