#pragma once

#include <QImage>

// Wall textures: opaque, seamless in both directions.
class WallArt
{
public:
    static QImage brick();
    static QImage stone();
    static QImage wood();
    static QImage metal();
    static QImage tech();
};
