#pragma once
#include <QObject>

class QWidget;

// Escape and Ctrl+W close a window of the program, as they close a dialog.
// Escape is taken only when no widget inside the window used it.
class CloseKeys : public QObject {
    Q_OBJECT
public:
    static void attach(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit CloseKeys(QWidget *window);
    QWidget *window;
};
