#include "RecordingMark.h"
#include <QEvent>

RecordingMark::RecordingMark(QWidget *table) : QLabel(table)
{
    setObjectName(QStringLiteral("lblNotRecording"));
    // The drill marker's look, in the colour of a warning.
    setStyleSheet(QStringLiteral("QLabel { color: rgb(255, 210, 90); background: rgba(0, 0, 0, 170); padding: 2px 8px;"
                                 " border: 1px solid rgb(255, 210, 90); font: bold 10pt 'DejaVu Sans'; }"));
    table->installEventFilter(this);
    hide();
}

void RecordingMark::showProblem(const QString &problem)
{
    if (problem.isEmpty()) {
        hide();
        return;
    }
    setText(QStringLiteral("Not recording: ") + problem);
    adjustSize();
    place();
    show();
    raise();
}

void RecordingMark::place()
{
    const QWidget *table = parentWidget();
    setMaximumWidth(table->width() - 32);
    move(16, table->height() - height() - 14);
}

bool RecordingMark::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        place();
    return QLabel::eventFilter(watched, event);
}
