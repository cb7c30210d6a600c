#include "SettingsStore.h"
#include "PrivateFiles.h"
#include "TextFileReader.h"
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryFile>
#include <cstdio>
#include <sys/stat.h>

namespace {
SettingsStore::FileIdentity identity(const QString &path)
{
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return std::make_pair(info.st_dev, info.st_ino);
}
}

SettingsStore::SettingsStore(const QString &section)
    : path(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Vantrel/Vantrel.conf")),
      section(section)
{
    // Looked at before anything reads it: opening a FIFO would block.
    const QString problem = TextFileReader::problem(path);
    if (!problem.isEmpty() && QFileInfo::exists(path)) {
        refused = problem;
        openReplacement();
        return;
    }
    openSettings(path);
}

SettingsStore::~SettingsStore() = default;

void SettingsStore::openSettings(const QString &readFrom)
{
    opened = identity(readFrom);
    settings = std::make_unique<QSettings>(readFrom, QSettings::IniFormat);
    settings->beginGroup(section);
}

void SettingsStore::openReplacement()
{
    // This run's keys go to a new file beside the stored one, which takes
    // its place when committed.
    replacement = std::make_unique<QTemporaryFile>(path + QStringLiteral(".XXXXXX"));
    replacement->open();
    openSettings(replacement->fileName());
}

QString SettingsStore::read(const QString &key, const QString &defaultText) const
{
    const QVariant stored = settings->value(key, defaultText);
    // A hand-edited line with unquoted commas comes back as a list; put the
    // text back together so it is judged like any other text.
    if (stored.typeId() == QMetaType::QStringList)
        return stored.toStringList().join(QLatin1Char(','));
    return stored.toString();
}

void SettingsStore::write(const QString &key, const QString &text)
{
    settings->setValue(key, text);
}

void SettingsStore::clear()
{
    // Inside the section's group an empty key names the whole group.
    settings->remove(QString());
    // Qt finds a file garbled as it parses it, here at the latest. Keys in
    // lines it could not read are beyond any removal, and with nothing
    // removed it would not write at all: the file is replaced whole.
    if (settings->status() == QSettings::FormatError && !replacement)
        openReplacement();
}

bool SettingsStore::commit()
{
    // The preferences are the user's own. The file is given its mode before
    // Qt writes it, as Qt's replacement of a file keeps the permissions it
    // had; a missing one is made empty, which reads as no file does.
    PrivateFiles::keepFolder(QFileInfo(path).path());
    PrivateFiles::makeFile(path);
    // QSettings replaces the file atomically, so a failed write leaves the
    // previous contents in place.
    settings->sync();
    bool saved = settings->status() == QSettings::NoError;
    if (settings->status() == QSettings::FormatError) {
        // The status keeps the first error, here the reading of a garbled
        // file, which hides how the write went: it went well if the file
        // has been replaced since the store opened it.
        const auto now = identity(settings->fileName());
        saved = now && now != opened;
    }
    // Only a file written in full takes the stored one's place.
    if (saved && replacement)
        saved = std::rename(QFile::encodeName(replacement->fileName()).constData(),
                            QFile::encodeName(path).constData()) == 0;
    return saved;
}

QString SettingsStore::fileName() const
{
    return path;
}
