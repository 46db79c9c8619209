#pragma once

#include <QString>
#include <QVector>

// Mono 16-bit PCM RIFF/WAVE files.
class WaveFile
{
public:
    static QByteArray encode(const QVector<qint16> &samples, int sampleRate);
    static bool write(const QString &path, const QVector<qint16> &samples, int sampleRate);
};
