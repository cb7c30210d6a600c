#include "CloseKeys.h"
#include <QKeyEvent>
#include <QShortcut>
#include <QWidget>

void CloseKeys::attach(QWidget *window)
{
    new CloseKeys(window);
}

CloseKeys::CloseKeys(QWidget *window) : QObject(window), window(window)
{
    // Ctrl+W is spelled out: the desktop's own "Close" may be Ctrl+F4 alone.
    auto *close = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), window);
    close->setContext(Qt::WindowShortcut);
    connect(close, &QShortcut::activated, window, &QWidget::close);
    window->installEventFilter(this);
}

bool CloseKeys::eventFilter(QObject *watched, QEvent *event)
{
    // A key no widget inside took ends up at the window itself.
    if (watched == window && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            window->close();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
