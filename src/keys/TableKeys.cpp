#include "TableKeys.h"
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

TableKeys::TableKeys(QMainWindow *window, QWidget *table, const std::vector<Binding> &bindings)
    : QObject(window), window(window), table(table)
{
    for (const Binding &binding : bindings) {
        auto *action = new QAction(window);
        action->setShortcut(binding.key);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setAutoRepeat(false);
        connect(action, &QAction::triggered, this, binding.play);
        window->addAction(action);
    }
    // Menus are the window's own popups: their closing is seen here too.
    qApp->installEventFilter(this);
}

bool TableKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched->isWidgetType()) {
        const auto *closing = static_cast<QWidget *>(watched);
        if (closing->isWindow() && closing != window && closing->parentWidget()
            && closing->parentWidget()->window() == window)
            focusTableLater();
    }
    return QObject::eventFilter(watched, event);
}

void TableKeys::focusTableLater()
{
    // After the menu bar or the window system has finished with the key or
    // the window that closed.
    QTimer::singleShot(0, this, [this] {
        if (!table || !window->isVisible())
            return;
        if (!QApplication::activeWindow())
            window->activateWindow();
        table->setFocus(Qt::OtherFocusReason);
    });
}
