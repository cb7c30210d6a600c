// The numeric-text parser and the whole preference load on any stored
// text. The input is the settings file itself; each of its lines is also
// parsed as a number on its own.
#include "Alert.h"
#include "NumericText.h"
#include "Preferences.h"
#include "SettingsStore.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
void parseNumber(const QString &text)
{
    const bool numeric = NumericText::isNumeric(text);
    if (numeric != NumericText::value(text).has_value())
        std::abort();
    try {
        NumericText::toInt16(text);
        if (!numeric)
            std::abort(); // a non-number converted
    } catch (const ConversionError &) {
    }
    try {
        NumericText::toInt32(text);
    } catch (const ConversionError &) {
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir config;
    static const bool pointed = qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    static int alerts = 0;
    (void)pointed;
    Alert::setHandler([](const QString &) { ++alerts; });

    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<int>(size));
    for (const QByteArray &line : input.split('\n'))
        parseNumber(QString::fromUtf8(line));

    QDir(config.path()).mkpath(QStringLiteral("Vantrel"));
    {
        QFile file(config.filePath(QStringLiteral("Vantrel/Vantrel.conf")));
        file.remove(); // a new file each time, so the settings cache rereads it
        if (!file.open(QIODevice::WriteOnly) || file.write(input) != input.size())
            std::abort();
    }
    SettingsStore store;
    Preferences prefs;
    prefs.load(store);
    Preferences::loadMainScreen(store);
    return 0;
}
