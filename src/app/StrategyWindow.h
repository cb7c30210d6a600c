#pragma once
#include "Preferences.h"
#include <QFont>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

class QLabel;
struct StrategyChart;

// frmStrings: the strategy chart in words, 21 lines of hand group and
// advice, with the line of the current hand highlighted. Closing it only
// unloads it; the next use loads it again from the chart and the stored
// position.
class StrategyWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int lineCount = 21;

    StrategyWindow(const StrategyChart &chart, Preferences &prefs, QWidget *parent = nullptr);

    // Highlights the advice of `line` (0..20), loading the window if it was
    // closed but leaving it hidden. Other lines are ignored.
    void ShowStrategy(int16_t line);
    // The highlighted line, or -1 when none is.
    int16_t highlightedLine() const;
    // The "&Strategy Chart" command: loads if needed and shows the window.
    void showWindow();
    // Left and top in twips for saving at exit; nullopt while minimised or
    // maximised. A closed window answers with the place it would load at.
    std::optional<Preferences::WindowPosition> position() const;
    // A line below the chart; an empty text hides it.
    void setOdds(const QString &text);
    // Shows the lines of another chart (a casino table's) from now on.
    void setChart(const StrategyChart &shown);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void ensureLoaded();
    void fillLines();
    // The largest readable font at which every hand group fits its column
    // and, given its width, every advice its line; none if none does.
    std::optional<QFont> fittingFont(std::optional<int> adviceWidthPixels) const;
    // Rows of one line each where the advice fits; otherwise the advice is
    // wrapped in a wider column and each row is as tall as its lines.
    void layOutLines();
    QPoint loadPosition() const;
    void fitWindowToRows();

    const StrategyChart *chart;
    Preferences &prefs;
    std::array<QLabel *, lineCount> lblPlayerHand{};
    std::array<QLabel *, lineCount> lblAction{};
    QLabel *lblOdds = nullptr;
    bool loaded = false;
    bool placeWhenShown = false;
    int rowsBottom = 0; // pixels: where the odds line goes
};
