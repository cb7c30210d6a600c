#pragma once

class QTextStream;
class SettingsStore;

// Clears every stored preference, so the next start uses the defaults.
class PreferencesReset {
public:
    // Unless `assumeYes`, asks on `out` and clears only when the line read
    // from `in` is "y" or "yes" (any case). Returns true when the keys were
    // cleared and written; a refusal or a failed write leaves them stored.
    static bool run(SettingsStore &store, QTextStream &in, QTextStream &out, QTextStream &err,
                    bool assumeYes);
};
