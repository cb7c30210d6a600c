#include "RecordingMark.h"

RecordingMark::RecordingMark(QWidget *table) : QLabel(table)
{
    setObjectName(QStringLiteral("lblNotRecording"));
    // The drill marker's look, in the colour of a warning, on the felt
    // between the table's name and the dealer's hand.
    setStyleSheet(QStringLiteral("QLabel { color: rgb(255, 210, 90); background: rgba(0, 0, 0, 170); padding: 1px 6px;"
                                 " border: 1px solid rgb(255, 210, 90); font: bold 9pt 'DejaVu Sans'; }"));
    move(30, 40);
    hide();
}

void RecordingMark::showProblem(const QString &problem)
{
    if (problem.isEmpty()) {
        hide();
        return;
    }
    setText(QStringLiteral("Not recording: ") + problem);
    // A long reason wraps rather than run over the deck.
    constexpr int widest = 310;
    setWordWrap(false);
    setMinimumWidth(0);
    setMaximumWidth(QWIDGETSIZE_MAX);
    adjustSize();
    if (width() > widest) {
        setWordWrap(true);
        setFixedWidth(widest);
        adjustSize();
    }
    show();
    raise();
}
