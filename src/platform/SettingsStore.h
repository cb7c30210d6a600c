#pragma once
#include <QString>
#include <memory>
#include <optional>
#include <sys/types.h>
#include <utility>

class QSettings;
class QTemporaryFile;

// The per-user settings store: texts under application "Vantrel", in one
// section ("Preferences" unless another is named), in the INI file
// Vantrel/Vantrel.conf of the user's config folder. A file there that
// cannot sensibly be read (not a regular file, or far larger than any
// settings file) is left unread: every key reads as its default, and a
// commit replaces it with a file of this run's keys.
// The folder is kept 0700 and the file 0600.
class SettingsStore {
public:
    // The section read and written; the preferences' own by default.
    explicit SettingsStore(const QString &section = QStringLiteral("Preferences"));
    ~SettingsStore();
    QString read(const QString &key, const QString &defaultText) const;
    void write(const QString &key, const QString &text);
    // Removes every key of the section; a garbled file is then replaced
    // whole by the commit.
    void clear();
    // Flushes to disk; false when the file could not be written.
    bool commit();
    QString fileName() const;
    // Why the stored file was left unread, or "" when it was read.
    QString refusal() const { return refused; }

    // Which file a path names: a replaced file is a new one.
    using FileIdentity = std::optional<std::pair<dev_t, ino_t>>;

private:
    void openSettings(const QString &readFrom);
    void openReplacement();

    QString path;
    QString section;
    QString refused;
    FileIdentity opened;
    std::unique_ptr<QTemporaryFile> replacement; // for a refused file, or a garbled one cleared
    std::unique_ptr<QSettings> settings;
};
