#include "ProgramFolder.h"
#include <QCoreApplication>
#include <QDir>

namespace {
QString &overridePath()
{
    static QString folder;
    return folder;
}
}

QString ProgramFolder::path()
{
    if (!overridePath().isEmpty())
        return overridePath();
    return QCoreApplication::applicationDirPath();
}

void ProgramFolder::setPath(const QString &folder)
{
    overridePath() = folder;
}

QString ProgramFolder::file(const QString &subfolder, const QString &name)
{
    return QDir::toNativeSeparators(path() + QLatin1Char('/') + subfolder + QLatin1Char('/') + name);
}

QString ProgramFolder::file(const QString &name)
{
    return QDir::toNativeSeparators(path() + QLatin1Char('/') + name);
}
