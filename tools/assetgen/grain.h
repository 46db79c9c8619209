#pragma once

#include <QColor>
#include <QImage>
#include <QtGlobal>

// A tiny seeded random source. The images must come out byte-identical on
// every build, so nothing here depends on the standard library's engines.
class Grain
{
public:
    explicit Grain(quint32 seed);

    quint32 next();
    // 0 .. n-1; n must be positive.
    int below(int n);
    // lo .. hi, both included.
    int between(int lo, int hi);
    // The colour with each channel moved by up to +-spread, all by the same amount.
    QColor vary(const QColor &base, int spread);

    // Per-pixel brightness jitter on the colour channels; alpha is left alone,
    // so transparent parts stay transparent.
    static void roughen(QImage &image, int amount, quint32 seed);

private:
    quint32 state;
};
