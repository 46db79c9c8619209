#include "introvideo.h"

#include "menuart.h"

#include <QFile>
#include <QPainter>
#include <QProcess>

#include <algorithm>
#include <cmath>

const QSize IntroVideo::FrameSize(640, 360);

namespace {

double smoothStep(double from, double to, double x)
{
    const double t = std::clamp((x - from) / (to - from), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

} // namespace

QImage IntroVideo::frame(int index)
{
    const double t = double(index) / FramesPerSecond;
    QImage image(FrameSize, QImage::Format_RGBA8888_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // The floor glides towards the viewer, two grid lines a second, while the sun rises.
    const double phase = std::fmod(t * 2.0, 1.0);
    MenuArt::drawScene(painter, FrameSize, 230, phase, smoothStep(0.0, 4.0, t));

    const double titleScale = 0.8 + 0.08 * smoothStep(1.0, 5.0, t);
    const double titleOpacity = smoothStep(1.0, 2.5, t);
    const QPointF baseline(FrameSize.width() * 0.5 - 200 * titleScale, 120);
    MenuArt::drawTitle(painter, baseline, titleScale, titleOpacity);

    // Fade in from black over the first second.
    painter.fillRect(image.rect(), QColor(0, 0, 0, int(255 * (1.0 - smoothStep(0.0, 1.0, t)))));
    painter.end();
    return image.convertToFormat(QImage::Format_RGBA8888);
}

bool IntroVideo::encode(const QString &ffmpeg, const QString &outputFile, QString *error)
{
    const QString size = QStringLiteral("%1x%2").arg(FrameSize.width()).arg(FrameSize.height());
    QProcess encoder;
    encoder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    encoder.start(ffmpeg, {QStringLiteral("-y"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                           QStringLiteral("-f"), QStringLiteral("rawvideo"),
                           QStringLiteral("-pixel_format"), QStringLiteral("rgba"),
                           QStringLiteral("-video_size"), size,
                           QStringLiteral("-framerate"), QString::number(FramesPerSecond),
                           QStringLiteral("-i"), QStringLiteral("-"), QStringLiteral("-an"),
                           QStringLiteral("-c:v"), QStringLiteral("wmv2"),
                           QStringLiteral("-b:v"), QStringLiteral("1500k"),
                           QStringLiteral("-f"), QStringLiteral("asf"), outputFile});
    if (!encoder.waitForStarted(-1)) {
        *error = QStringLiteral("cannot start %1: %2").arg(ffmpeg, encoder.errorString());
        return false;
    }
    for (int i = 0; i < FrameCount; ++i) {
        const QImage image = frame(i);
        const QByteArray bytes(reinterpret_cast<const char *>(image.constBits()),
                               int(image.sizeInBytes()));
        if (encoder.write(bytes) != bytes.size() || !encoder.waitForBytesWritten(-1)) {
            *error = QStringLiteral("ffmpeg stopped taking frames: %1").arg(encoder.errorString());
            encoder.kill();
            encoder.waitForFinished(-1);
            QFile::remove(outputFile);
            return false;
        }
    }
    encoder.closeWriteChannel();
    encoder.waitForFinished(-1);
    if (encoder.exitStatus() != QProcess::NormalExit || encoder.exitCode() != 0) {
        *error = QStringLiteral("ffmpeg failed with exit code %1").arg(encoder.exitCode());
        QFile::remove(outputFile);
        return false;
    }
    return true;
}
