#include "SettingsStore.h"
#include <QSettings>
#include <QStringList>

SettingsStore::SettingsStore()
    : settings(std::make_unique<QSettings>(QStringLiteral("Vantrel"), QStringLiteral("Vantrel")))
{
    settings->beginGroup(QStringLiteral("Preferences"));
}

SettingsStore::~SettingsStore() = default;

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
}

bool SettingsStore::commit()
{
    // QSettings replaces the file atomically, so a failed write leaves the
    // previous contents in place.
    settings->sync();
    return settings->status() == QSettings::NoError;
}

QString SettingsStore::fileName() const
{
    return settings->fileName();
}
