#pragma once

#include <QDir>
#include <QString>

// Writes the launcher's menu pictures and sounds under their fixed names.
class LauncherMedia
{
public:
    static const int SampleRate = 22050;

    // On failure names the file that could not be written.
    static bool writeMenuMedia(const QDir &folder, QString *failedFile = nullptr);
};
