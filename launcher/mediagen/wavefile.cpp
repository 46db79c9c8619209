#include "wavefile.h"

#include <QDataStream>
#include <QSaveFile>

QByteArray WaveFile::encode(const QVector<qint16> &samples, int sampleRate)
{
    const quint16 channels = 1;
    const quint16 bitsPerSample = 16;
    const quint16 blockAlign = channels * bitsPerSample / 8;
    const quint32 dataSize = quint32(samples.size()) * blockAlign;

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataSize);
    out.writeRawData("WAVE", 4);
    out.writeRawData("fmt ", 4);
    out << quint32(16) << quint16(1) << channels << quint32(sampleRate)
        << quint32(sampleRate) * blockAlign << blockAlign << bitsPerSample;
    out.writeRawData("data", 4);
    out << dataSize;
    for (qint16 sample : samples)
        out << sample;
    return bytes;
}

bool WaveFile::write(const QString &path, const QVector<qint16> &samples, int sampleRate)
{
    const QByteArray bytes = encode(samples, sampleRate);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
