#include "SoundPlayer.h"
#include "FileExists.h"
#include "ProgramFolder.h"
#include <QUrl>

SoundPlayer::SoundPlayer(const bool &soundOn)
    : soundOn(soundOn)
{
}

void SoundPlayer::playsound(const QString &fileName)
{
    if (!soundOn)
        return;
    const QString path = ProgramFolder::file(QStringLiteral("wavs"), fileName);
    if (!FileExists(path))
        return;
    // One effect object, so a new sound cuts off the previous one. The file
    // loads in the background and plays once loaded; play() returns at once.
    effect.stop();
    effect.setSource(QUrl::fromLocalFile(path));
    effect.play();
    lastStartedPath = path;
}
