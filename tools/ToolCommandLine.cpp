#include "ToolCommandLine.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

ToolCommandLine::ToolCommandLine(const QString &description)
{
    parser.setApplicationDescription(description);
    // Not addHelpOption(): its --help-all promises Qt's own options, which a tool does not take.
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help.")));
}

int ToolCommandLine::parse(int minimumArguments, int maximumArguments)
{
    if (!parser.parse(QCoreApplication::arguments()))
        return fail(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    const int given = parser.positionalArguments().size();
    if (given < minimumArguments || given > maximumArguments)
        return fail(given < minimumArguments ? QStringLiteral("missing arguments")
                                             : QStringLiteral("unexpected argument '%1'")
                                                   .arg(parser.positionalArguments().constLast()));
    return -1;
}

int ToolCommandLine::fail(const QString &message) const
{
    // The help's first line is the usage line.
    const QString usage = parser.helpText().section(QLatin1Char('\n'), 0, 0);
    std::fprintf(stderr, "%s: %s\n%s\n", qPrintable(QFileInfo(QCoreApplication::applicationFilePath()).fileName()),
                 qPrintable(message), qPrintable(usage));
    return 2;
}
