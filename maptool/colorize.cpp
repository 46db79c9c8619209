#include "colorize.h"

#include <QPainter>

QImage Colorize::apply(const QImage &source, const QColor &colour)
{
    if (source.isNull())
        return source;
    const QImage input = source.convertToFormat(source.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                          : QImage::Format_RGB32);
    QImage output(input.size(), input.format());
    for (int y = 0; y < input.height(); ++y) {
        const QRgb *from = reinterpret_cast<const QRgb *>(input.constScanLine(y));
        QRgb *to = reinterpret_cast<QRgb *>(output.scanLine(y));
        for (int x = 0; x < input.width(); ++x) {
            const int grey = qGray(from[x]);
            to[x] = qRgba(grey, grey, grey, qAlpha(from[x]));
        }
    }
    QPainter painter(&output);
    painter.setCompositionMode(QPainter::CompositionMode_Screen);
    painter.fillRect(output.rect(), colour);
    painter.end();
    if (input.hasAlphaChannel())
        output.setAlphaChannel(input.convertToFormat(QImage::Format_Alpha8));
    return output;
}
