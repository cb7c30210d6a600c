#include "DisplayFailure.h"
#include <QList>
#include <mutex>
#include <unistd.h>

namespace {
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

QString program;
QtMessageHandler previous = nullptr;
QList<HeldMessage> held;
std::mutex heldLock; // Qt may report from its own threads while it starts

// Why no window can open, from the environment Qt chose its display by.
QString reason()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (!platform.isEmpty())
        return QStringLiteral("the display platform \"%1\" cannot start").arg(platform);
    for (const char *name : {"WAYLAND_DISPLAY", "DISPLAY"}) {
        const QString display = qEnvironmentVariable(name);
        if (!display.isEmpty())
            return QStringLiteral("cannot connect to the display %1").arg(display);
    }
    return QStringLiteral("DISPLAY is not set");
}
}

DisplayFailure::DisplayFailure(const QString &programName)
{
    program = programName;
    previous = qInstallMessageHandler(&DisplayFailure::handle);
}

DisplayFailure::~DisplayFailure()
{
    qInstallMessageHandler(previous);
    const std::lock_guard<std::mutex> lock(heldLock);
    for (const HeldMessage &message : std::as_const(held)) {
        const QMessageLogContext context(nullptr, 0, nullptr,
                                         message.category.isNull() ? nullptr : message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
    held.clear();
}

void DisplayFailure::handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        const std::lock_guard<std::mutex> lock(heldLock);
        held.append({type, QByteArray(context.category), message});
        return;
    }
    // Qt would abort once this returns; nothing is open yet that needs closing.
    const QByteArray line = (program + QStringLiteral(": cannot open a window: ") + reason() + QLatin1Char('\n')).toLocal8Bit();
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, line.constData(), line.size());
    _exit(1);
}
