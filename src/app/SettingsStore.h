#pragma once
#include <QString>
#include <memory>

class QSettings;

// The per-user settings store: texts under application "Vantrel", section
// "Preferences". On Linux an INI file in the user's config folder.
class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();
    QString read(const QString &key, const QString &defaultText) const;
    void write(const QString &key, const QString &text);
    // Removes every key of the section.
    void clear();
    // Flushes to disk; false when the file could not be written.
    bool commit();
    QString fileName() const;

private:
    std::unique_ptr<QSettings> settings;
};
