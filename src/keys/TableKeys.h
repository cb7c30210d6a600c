#pragma once
#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QMainWindow;
class QWidget;

// The table's play keys. They belong to the whole window, not to whichever
// widget has the focus, so they play whenever the table's window is active:
// also after a menu was opened and left from the keyboard, when the menu bar
// keeps the focus and would read a plain letter as a menu's mnemonic. When a
// menu closes, or one of the table's own windows (a dialog, the help), the
// table's window is made active again if nothing else is, and the focus goes
// back to the table.
class TableKeys : public QObject {
    Q_OBJECT
public:
    struct Binding {
        QKeySequence key;
        std::function<void()> play;
    };

    TableKeys(QMainWindow *window, QWidget *table, const std::vector<Binding> &bindings);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusTableLater();

    QMainWindow *window;
    QPointer<QWidget> table;
};
