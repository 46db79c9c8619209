#include "grain.h"

#include <algorithm>

Grain::Grain(quint32 seed)
    : state(seed ? seed : 0x9e3779b9u) // xorshift never leaves zero
{
}

quint32 Grain::next()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

int Grain::below(int n)
{
    return int(next() % quint32(n));
}

int Grain::between(int lo, int hi)
{
    return lo + below(hi - lo + 1);
}

QColor Grain::vary(const QColor &base, int spread)
{
    const int shift = between(-spread, spread);
    return QColor(std::clamp(base.red() + shift, 0, 255),
                  std::clamp(base.green() + shift, 0, 255),
                  std::clamp(base.blue() + shift, 0, 255),
                  base.alpha());
}

void Grain::roughen(QImage &image, int amount, quint32 seed)
{
    const QImage::Format format = image.format();
    QImage plain = image.convertToFormat(QImage::Format_ARGB32);
    Grain grain(seed);
    for (int y = 0; y < plain.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(plain.scanLine(y));
        for (int x = 0; x < plain.width(); ++x) {
            const int shift = grain.between(-amount, amount);
            const QRgb pixel = line[x];
            line[x] = qRgba(std::clamp(qRed(pixel) + shift, 0, 255),
                            std::clamp(qGreen(pixel) + shift, 0, 255),
                            std::clamp(qBlue(pixel) + shift, 0, 255),
                            qAlpha(pixel));
        }
    }
    image = plain.convertToFormat(format);
}
