#pragma once
#include <QLabel>

// A mark on the table while nothing is recorded: "Not recording: the disk
// is full". It stays until recording starts again, whatever the status line
// says meanwhile, and sits in the table's upper left corner, under the
// drill's marker.
class RecordingMark : public QLabel {
    Q_OBJECT
public:
    explicit RecordingMark(QWidget *table);
    // Shows why nothing is recorded; hides the mark for an empty reason.
    void showProblem(const QString &problem);
};
