#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The intro video: frames drawn here, piped raw into ffmpeg, encoded as WMV
// in an ASF container (GStreamer's ugly and libav plugins play it).
class IntroVideo
{
public:
    static const QSize FrameSize;
    static const int FramesPerSecond = 25;
    static const int FrameCount = 125;

    static QImage frame(int index);
    static bool encode(const QString &ffmpeg, const QString &outputFile, QString *error);
};
