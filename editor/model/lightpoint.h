#pragma once

#include "format/sectorlighting.h"

// A light source, or one cell lit by it.
struct LightPoint
{
    SectorLighting lighting;
    qint32 mapX = 0;
    qint32 mapY = 0;
    qint32 intensity = 0;
    qint32 radius = 0;
};
