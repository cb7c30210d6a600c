#include "SettingsStore.h"
#include "TextFileReader.h"
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryFile>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
SettingsStore::FileIdentity identity(const QString &path)
{
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return std::make_pair(info.st_dev, info.st_ino);
}

// Missing folders are made for the owner alone, as the XDG base-directory
// rules ask.
void makeFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir() || folder == QFileInfo(folder).path())
        return;
    makeFolder(QFileInfo(folder).path());
    mkdir(QFile::encodeName(folder).constData(), 0700);
}

// The preferences are the user's own: their folder and file are opened to
// no one else. The file is given its permissions before Qt writes it, as
// Qt's replacement of a file keeps the permissions it had. A missing file
// is made empty, which reads as no file does.
void keepPrivate(const QString &path)
{
    const QString folder = QFileInfo(path).path();
    makeFolder(folder);
    chmod(QFile::encodeName(folder).constData(), 0700);
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (lstat(name.constData(), &info) != 0) {
        const int made = open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (made >= 0)
            close(made);
    } else if (S_ISREG(info.st_mode)) {
        chmod(name.constData(), 0600);
    }
}
}

SettingsStore::SettingsStore()
    : path(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Vantrel/Vantrel.conf"))
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
    settings->beginGroup(QStringLiteral("Preferences"));
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
    keepPrivate(path);
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
