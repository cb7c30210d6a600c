#pragma once
#include <QString>
#include <QtGlobal>

// Without a display Qt ends the program with abort() (status 134) after a
// screenful about platform plugins and reinstalling. While an instance
// lives, a fatal message ends it instead with one line on the standard
// error, "<program>: cannot open a window: <why>", and status 1; Qt's
// other messages are held back and passed on when the instance ends.
// Make one just before the application object, end it just after.
class DisplayFailure {
public:
    explicit DisplayFailure(const QString &programName);
    ~DisplayFailure();
    DisplayFailure(const DisplayFailure &) = delete;
    DisplayFailure &operator=(const DisplayFailure &) = delete;

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message);
};
