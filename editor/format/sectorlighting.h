#pragma once

#include <QtGlobal>

// The light values of one cell. Always copied as a whole block.
struct SectorLighting
{
    qint32 emissionRadius = 0;
    qint32 intensity = 255;
    double blinkDelay = 0.5;
    qint32 emission = 10;
    qint32 emissionMin = 0;
    qint32 emissionMax = 255;
    quint8 isDynamic = 0;
    quint8 randomIntensity = 0;
    quint8 isLightEmitter = 0;
};

inline bool operator==(const SectorLighting &a, const SectorLighting &b)
{
    return a.emissionRadius == b.emissionRadius && a.intensity == b.intensity
        && a.blinkDelay == b.blinkDelay && a.emission == b.emission
        && a.emissionMin == b.emissionMin && a.emissionMax == b.emissionMax
        && a.isDynamic == b.isDynamic && a.randomIntensity == b.randomIntensity
        && a.isLightEmitter == b.isLightEmitter;
}

inline bool operator!=(const SectorLighting &a, const SectorLighting &b) { return !(a == b); }
