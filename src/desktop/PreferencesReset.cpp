#include "PreferencesReset.h"
#include "SettingsStore.h"
#include <QTextStream>

bool PreferencesReset::run(SettingsStore &store, QTextStream &in, QTextStream &out, QTextStream &err,
                           bool assumeYes)
{
    if (!assumeYes) {
        out << "Clear Vantrel's stored preferences in " << store.fileName() << "? [y/N] " << Qt::flush;
        const QString line = in.readLine();
        if (line.isNull())
            out << '\n'; // no answer typed, so no line ended
        const QString answer = line.trimmed().toLower();
        if (answer != QLatin1String("y") && answer != QLatin1String("yes")) {
            out << "Nothing changed.\n";
            return false;
        }
    }
    store.clear();
    if (!store.commit()) {
        err << "vantrel: cannot write " << store.fileName() << '\n';
        return false;
    }
    out << "Preferences cleared; the next start uses the defaults.\n";
    return true;
}
