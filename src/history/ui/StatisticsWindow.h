#pragma once
#include "HistoryStatistics.h"
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class MistakeMap;
class TrendPlot;
class TrainingSession;

// Game > Statistics: accuracy, the mistake map, the costliest cells and the
// trend of one table's record, with the export and reset of the whole record.
// A selector lists the tables the record holds, the current one first shown.
class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr std::size_t listedCells = 10;
    explicit StatisticsWindow(TrainingSession &session, QWidget *parent = nullptr);

    // Reads the record again, for the table shown.
    void refresh();
    // Shows the table named by its rules text, listed even before its first decision.
    void showTable(const QString &rulesText);
    // The rules text of the table shown.
    QString shownTable() const { return stats.table; }
    QComboBox *tableSelector() const { return tables; }
    // Writes the CSV; empty when done, otherwise why not. The next export
    // starts in the folder this one chose.
    QString exportTo(const QString &fileName);
    // Where the export dialog opens: Documents, then the last folder used.
    QString exportStart() const { return exportFolder; }
    // Asks through `confirm` first; true when the record was emptied.
    bool resetHistory();

    // Yes/no question before the reset; tests answer it themselves.
    std::function<bool(const QString &question)> confirm;

    const HistoryStatistics &statistics() const { return stats; }
    MistakeMap *map() const { return mistakeMap; }
    QString accuracyText() const;
    QString costliestText() const;
    QString detailText() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void exportClicked();
    void showCell(const ChartCell &cell);

    TrainingSession &session;
    HistoryStatistics stats;
    QLabel *accuracy = nullptr;
    QLabel *costliest = nullptr;
    QLabel *detail = nullptr;
    MistakeMap *mistakeMap = nullptr;
    TrendPlot *trend = nullptr;
    QPushButton *resetButton = nullptr;
    QString exportFolder;
    QCheckBox *includeFlash = nullptr;
    QComboBox *tables = nullptr;
};
