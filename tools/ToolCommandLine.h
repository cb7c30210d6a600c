#pragma once
#include <QCommandLineParser>
#include <QString>

// The command line every tool shares: --help prints the help on stdout and
// ends with status 0; an unknown option, a wrong number of arguments or a bad
// value prints the error and the usage line on stderr and ends with status 2.
class ToolCommandLine {
public:
    explicit ToolCommandLine(const QString &description);

    QCommandLineParser parser;

    // Parses the application's arguments. Returns -1 when the tool should go
    // on, otherwise the status to exit with.
    int parse(int minimumArguments, int maximumArguments);
    // Reports a bad value found after parsing; returns the status to exit with.
    int fail(const QString &message) const;
};
