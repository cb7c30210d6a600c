#pragma once
#include <QSoundEffect>
#include <QString>

// Plays the short wave files of the "wavs" folder. Sounds are started and
// never waited for; a new sound replaces one still playing. Nothing is
// played while sound is switched off or when the file is missing or empty.
class SoundPlayer {
public:
    // soundOn is the live preference; it is read on every call.
    explicit SoundPlayer(const bool &soundOn);
    void playsound(const QString &fileName);
    // Path of the last sound started; empty until one has been.
    QString lastStarted() const { return lastStartedPath; }

private:
    const bool &soundOn;
    QSoundEffect effect;
    QString lastStartedPath;
};
