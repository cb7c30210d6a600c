#include "CommandLine.h"
#include "PreferencesReset.h"
#include "SettingsStore.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QIODevice>
#include <QTextStream>

namespace {
const QString resetOption = QStringLiteral("reset-preferences");
const QString yesOption = QStringLiteral("yes");
}

CommandLine::CommandLine(const QStringList &arguments)
    : programName(QFileInfo(arguments.value(0, QStringLiteral("vantrel"))).fileName())
{
    parser.setApplicationDescription(
        QStringLiteral("Vantrel, a blackjack strategy trainer: play against the dealer while a tutor\n"
                       "shows or checks the best play for every hand."));
    // Our own help and version options: Qt's would add --help-all for Qt's
    // own options, which this early parse does not take.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption({resetOption, QStringLiteral("Clear the stored preferences, after asking on the terminal.")});
    parser.addOption({yesOption, QStringLiteral("With --reset-preferences: do not ask.")});

    if (!parser.parse(arguments))
        chosen = Request::UsageError;
    else if (!parser.positionalArguments().isEmpty())
        chosen = Request::UsageError;
    else if (parser.isSet(help))
        chosen = Request::ShowHelp;
    else if (parser.isSet(version))
        chosen = Request::ShowVersion;
    else if (parser.isSet(resetOption))
        chosen = Request::ResetPreferences;
    else if (parser.isSet(yesOption))
        chosen = Request::UsageError; // --yes alone would silently start the table
    assumeYes = parser.isSet(yesOption);
}

int CommandLine::carryOut(QTextStream &in, QTextStream &out, QTextStream &err) const
{
    const int status = answer(in, out, err);
    // An answer that never reached its reader (a full disk, a closed
    // output) is a failure, not a success.
    out.flush();
    if (out.status() == QTextStream::Ok)
        return status;
    err << programName << ": cannot write the output";
    if (const QIODevice *device = out.device())
        err << ": " << device->errorString();
    err << '\n';
    return 1;
}

int CommandLine::answer(QTextStream &in, QTextStream &out, QTextStream &err) const
{
    switch (chosen) {
    case Request::ShowHelp:
        out << parser.helpText();
        return 0;
    case Request::ShowVersion:
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << '\n';
        return 0;
    case Request::ResetPreferences: {
        SettingsStore store;
        return PreferencesReset::run(store, in, out, err, assumeYes) ? 0 : 1;
    }
    case Request::UsageError:
    case Request::RunTable:
        break;
    }
    if (!parser.errorText().isEmpty())
        err << programName << ": " << parser.errorText() << '\n';
    else if (!parser.positionalArguments().isEmpty())
        err << programName << ": unexpected argument '" << parser.positionalArguments().constFirst() << "'\n";
    else
        err << programName << ": --yes goes with --reset-preferences\n";
    err << "Usage: " << programName << " [options]\n"
        << "Try '" << programName << " --help' for more information.\n";
    return 2;
}
