#include "launchermedia.h"

#include "menuart.h"
#include "musicsynth.h"
#include "wavefile.h"

#include <QImage>

bool LauncherMedia::writeMenuMedia(const QDir &folder, QString *failedFile)
{
    const QImage background = MenuArt::background();
    const QList<QPair<QString, QImage>> pictures = {
        {QStringLiteral("bg.png"), background},
        {QStringLiteral("menuPointer.png"), MenuArt::pointer()},
        {QStringLiteral("btnVideo.png"), MenuArt::entry(background, 0)},
        {QStringLiteral("btnPlay.png"), MenuArt::entry(background, 1)},
        {QStringLiteral("btnEditor.png"), MenuArt::entry(background, 2)},
    };
    for (const auto &picture : pictures) {
        if (!picture.second.save(folder.filePath(picture.first), "PNG")) {
            if (failedFile)
                *failedFile = folder.filePath(picture.first);
            return false;
        }
    }

    const QList<QPair<QString, QVector<qint16>>> sounds = {
        {QStringLiteral("bgm.wav"), MusicSynth::backgroundLoop(SampleRate)},
        {QStringLiteral("menusound.wav"), MusicSynth::menuBlip(SampleRate)},
    };
    for (const auto &sound : sounds) {
        if (!WaveFile::write(folder.filePath(sound.first), sound.second, SampleRate)) {
            if (failedFile)
                *failedFile = folder.filePath(sound.first);
            return false;
        }
    }
    return true;
}
