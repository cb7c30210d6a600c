#pragma once
#include <QCommandLineParser>
#include <QStringList>

class QTextStream;

// The program's own options. They are read before any window exists, so
// --help, --version, a usage error and --reset-preferences need no display.
class CommandLine {
public:
    enum class Request { RunTable, ShowHelp, ShowVersion, ResetPreferences, UsageError };

    // `arguments` as the program received them, its own name first.
    explicit CommandLine(const QStringList &arguments);

    Request request() const { return chosen; }
    // The name the program was started by, for its messages.
    const QString &program() const { return programName; }

    // Everything but RunTable: prints help, version or usage, or resets the
    // preferences (asking on `out` and reading the answer from `in` unless
    // --yes was given). Returns the program's exit status: 0 done, 1 a reset
    // declined or not written or an answer that could not be written to
    // `out` (said on `err`), 2 a usage error.
    int carryOut(QTextStream &in, QTextStream &out, QTextStream &err) const;

private:
    int answer(QTextStream &in, QTextStream &out, QTextStream &err) const;

    QCommandLineParser parser;
    QString programName;
    Request chosen = Request::RunTable;
    bool assumeYes = false;
};
